// Many threads reading the same solids at once: Booleans, chamfers,
// transforms and measures on shared inputs must give the results one thread
// gets. Run under ThreadSanitizer (make tsan) this also checks that the
// kernel has no unsynchronised shared state.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "bsp/boolean.h"
#include "builders/prism.h"
#include "canonical/logical_faces.h"
#include "canonical/watertight.h"
#include "chamfer/chamfer.h"
#include "core/measures.h"
#include "core/transforms.h"
#include "local/local_boolean.h"
#include "mesh/mesh_of.h"
#include "mesh/same_shape.h"
#include "nurbs/nurbs_eval.h"
#include "serial/serial.h"
#include "ssi/ssi_pairs.h"
#include "support/support.h"

namespace corv {
namespace {

// One fingerprint of everything a reader computes from the shared solids.
struct Reading {
    std::string canonical_cut, canonical_union, canonical_chamfer;
    Rational volume_intersect, volume_moved;
    std::size_t faces = 0;
    bool watertight = false;
    Vec3 curve_point;
    std::size_t pair_count = 0;
    std::string canonical_local_cut;
    bool same_shape_union = false;
    std::size_t mesh_triangles = 0;
    std::vector<std::uint8_t> stored;
    std::string canonical_decoded;
    friend bool operator==(const Reading&, const Reading&) = default;
};

Solid l_prism() {
    std::vector<Point2> outline{{0, 0}, {3, 0}, {3, 1}, {1, 1}, {1, 3}, {0, 3}};
    return make_prism(std::move(outline), Rational(2), "l");
}

Reading read_all(const Solid& a, const Solid& b) {
    Reading r;
    r.canonical_cut = canonical(boolean(BooleanOp::cut, a, b).polygons);
    r.canonical_union = canonical(boolean(BooleanOp::union_, a, b).polygons);
    r.canonical_chamfer = canonical(chamfer(a, Rational(1) / Rational(10)).polygons);
    r.volume_intersect = volume6(boolean(BooleanOp::intersect, a, b).polygons);
    r.volume_moved = volume6(rotated_quarter(scaled(translated(b, Vec3{1, 2, 3}), 2, 3, 5), 1, 3).polygons);
    r.faces = logical_faces(a);
    r.watertight = watertight_ok(b);
    r.curve_point =
        nurbs_curve_eval(2, {{0, 0, 0}, {1, 2, 0}, {3, 1, 1}}, {0, 0, 0, 1, 1, 1}, Rational(1) / Rational(3), {});
    Net patch{{{0, 0, 0}, {0, 1, 0}}, {{1, 0, 1}, {1, 1, 1}}};
    Net flat{{{0, 0, Rational(1) / Rational(2)}, {0, 1, Rational(1) / Rational(2)}},
             {{1, 0, Rational(1) / Rational(2)}, {1, 1, Rational(1) / Rational(2)}}};
    r.pair_count = ssi_pairs(patch, flat, 3, {}, {}).size();
    const Solid local_cut = local_boolean(BooleanOp::cut, a, b);
    r.canonical_local_cut = canonical(local_cut.polygons);
    r.same_shape_union = same_shape(local_boolean(BooleanOp::union_, a, b), boolean(BooleanOp::union_, a, b));
    r.mesh_triangles = mesh_of(local_cut).triangles.size();
    r.stored = encode(a);
    r.canonical_decoded = canonical(decode(r.stored).polygons);
    return r;
}

TEST(ConcurrentReads, ThreadsSharingSolidsAgreeWithOneThread) {
    const Solid a = l_prism();
    const Solid b =
        translated(Solid::cube(2, 2, 2, "b"), Vec3{Rational(1) / Rational(2), Rational(1) / Rational(2), 1});
    const Reading expected = read_all(a, b);
    ASSERT_FALSE(expected.canonical_cut.empty());
    ASSERT_GT(expected.pair_count, 0u);

    constexpr int thread_count = 4;
    std::vector<Reading> readings(thread_count);
    std::vector<std::thread> threads;
    for (int i = 0; i < thread_count; ++i) {
        threads.emplace_back([&, i] {
            for (int round = 0; round < 2; ++round) readings[static_cast<std::size_t>(i)] = read_all(a, b);
        });
    }
    for (std::thread& t : threads) t.join();
    for (const Reading& r : readings) EXPECT_TRUE(r == expected);
}

TEST(ConcurrentReads, CopiesOfLargeRationalsAreIndependent) {
    // Coordinates too large for the inline form live on the heap; copying
    // them from many threads at once only reads the shared source.
    const Rational huge = Rational(Integer(1) + Integer(1), Integer(3)) * Rational(INT64_MAX) * Rational(INT64_MAX);
    const Solid big = scaled(Solid::cube(1, 1, 1, "h"), huge, huge, huge);
    const Rational expected = volume6(big.polygons);
    std::vector<std::thread> threads;
    std::vector<Rational> results(4);
    for (std::size_t i = 0; i < results.size(); ++i) {
        threads.emplace_back([&, i] {
            Solid copy = big;
            results[i] = volume6(translated(copy, Vec3{huge, 0, 0}).polygons);
        });
    }
    for (std::thread& t : threads) t.join();
    for (const Rational& r : results) EXPECT_EQ(r, expected);
}

}  // namespace
}  // namespace corv
