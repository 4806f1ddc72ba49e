#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

#include "canonical/watertight.h"
#include "core/measures.h"
#include "local/local_boolean.h"
#include "mesh/mesh_of.h"
#include "serial/serial.h"
#include "serial/stored_body.h"
#include "support/random_solids.h"
#include "support/support.h"
#include "support/workloads.h"

namespace corv {
namespace {

using Bytes = std::vector<std::uint8_t>;
using test::Body;
using test::panics_with;

#define EXPECT_CORRUPT(statement) EXPECT_TRUE(panics_with([&] { statement; }, PanicKind::corrupt_data, #statement))

// Equal in everything a solid holds, the float copies included.
void expect_identical(const Solid& a, const Solid& b) {
    ASSERT_EQ(a.polygons.size(), b.polygons.size());
    for (std::size_t i = 0; i < a.polygons.size(); ++i) {
        const Polygon& p = a.polygons[i];
        const Polygon& q = b.polygons[i];
        EXPECT_EQ(p.vertices(), q.vertices()) << "polygon " << i;
        EXPECT_EQ(p.plane, q.plane) << "polygon " << i;
        EXPECT_EQ(p.label, q.label) << "polygon " << i;
        EXPECT_EQ(p.float_vertices(), q.float_vertices()) << "polygon " << i;
    }
}

void expect_round_trip(const Solid& s) {
    Bytes bytes = encode(s);
    Solid back = decode(bytes);
    expect_identical(s, back);
    EXPECT_EQ(encode(back), bytes);
}

// The body of the tetrahedron (0,0,0) (1,0,0) (0,1,0) (0,0,1), values 0, 1,
// -1; polygon 0 is the face on z = 0, its loop the first vertex_count of
// points 0, 2, 1 with the last replaced by last_point, its plane's normal
// (0, 0, values[normal_z]). Everything after the value table comes from the
// arguments so that tests can spoil one part.
Body tetra_body(std::uint64_t vertex_count = 3, std::uint64_t last_point = 1, std::uint64_t normal_z = 2) {
    Body b;
    b.varint(3).small(0, 1).small(1, 1).small(-1, 1);
    b.varint(1).varint(3).byte('t').byte('e').byte('t');
    b.varint(4);
    for (int p : {0, 0, 0, 1, 0, 0, 0, 1, 0, 0, 0, 1}) b.varint(static_cast<std::uint64_t>(p));
    b.varint(4);
    for (std::uint64_t v : {std::uint64_t{0}, std::uint64_t{0}, normal_z, std::uint64_t{0}}) b.varint(v);
    for (int v : {0, 2, 0, 0, 2, 0, 0, 0, 1, 1, 1, 1})
        b.varint(static_cast<std::uint64_t>(v));  // y = 0, x = 0, x+y+z = 1
    b.varint(4).varint(0).varint(0).varint(vertex_count);
    const std::uint64_t bottom[3] = {0, 2, 1};
    for (std::uint64_t i = 0; i < vertex_count; ++i) b.varint(i + 1 == vertex_count ? last_point : bottom[i % 3]);
    for (std::uint64_t face = 1; face < 4; ++face) {
        const std::uint64_t loops[3][3] = {{0, 1, 3}, {0, 3, 2}, {1, 2, 3}};
        b.varint(face).varint(0).varint(3);
        for (std::uint64_t p : loops[face - 1]) b.varint(p);
    }
    return b;
}

TEST(Serial, SolidsOfEveryOperationComeBackIdentical) {
    for (std::uint64_t seed = 0; seed < 80; ++seed) {
        try {
            testing_random::random_program(seed, expect_round_trip);
        } catch (const Panic&) {
        } catch (const ValueFailure&) {}
    }
    expect_round_trip(workloads::plate(2));
    expect_round_trip(workloads::box_union(6));
    expect_round_trip(workloads::chamfered_l_prism());
    expect_round_trip(scaled(workloads::box_cut(), -1, 2, 3));
    expect_round_trip(mirrored(workloads::box_cut(), 1));
    std::vector<Solid> holes = workloads::plate_holes(2);
    expect_round_trip(local_cut_all(workloads::plate_blank(2), holes));
    expect_round_trip(Solid{});
}

TEST(Serial, LargeNumbersAndLabelsOfAnyBytes) {
    Rational big = Rational::from_integer(Integer(1000000007) * Integer(1000000009) * Integer(998244353));
    Solid s = translated(scaled(workloads::box_cut(), big / Rational(7), -big, Rational(1) / big), Vec3{-big, big, 3});
    s.polygons[0].label = std::string("\0\xff\xc3(", 4);
    s.polygons[1].label = "";
    expect_round_trip(s);
    // A thin tetrahedron far from the origin: its faces' areas are below the
    // float screen's bound, so the orientation checks run exactly.
    Rational far(1000000000000000000);
    Vec3 a{far, far, 0}, b{far + 1, far, 0}, c{far, far + 1, 0}, d{far, far, 1};
    Solid thin{{Polygon::make({a, c, b}, "thin"), Polygon::make({a, b, d}, "thin"), Polygon::make({a, d, c}, "thin"),
                Polygon::make({b, c, d}, "thin")}};
    expect_round_trip(thin);
    thin.polygons[0] = Polygon::with_plane({a, b, c}, thin.polygons[0].plane, "thin");  // turned against the plane
    EXPECT_CORRUPT(decode(encode(thin)));
}

TEST(Serial, EveryTruncationAndEveryBitFlipIsRefused) {
    const Bytes bytes = encode(Solid::cube(1, 2, 3, "b"));
    for (std::size_t n = 0; n < bytes.size(); ++n) {
        EXPECT_CORRUPT(decode(std::span(bytes).first(n)));
    }
    Bytes longer = bytes;
    longer.push_back(0);
    EXPECT_CORRUPT(decode(longer));
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        for (int bit = 0; bit < 8; ++bit) {
            Bytes spoiled = bytes;
            spoiled[i] ^= static_cast<std::uint8_t>(1u << bit);
            EXPECT_CORRUPT(decode(spoiled));
        }
    }
}

TEST(Serial, GeometryThatPassesTheChecksumIsStillChecked) {
    const Solid cube = Solid::cube(1, 1, 1, "c");
    Solid off = cube;
    std::vector<Vec3> moved = cube.polygons[2].vertices();
    moved[1].y += Rational(1) / Rational(3);  // the front face is y = 0
    off.polygons[2] = Polygon::with_plane(std::move(moved), cube.polygons[2].plane, "moved");
    EXPECT_CORRUPT(decode(encode(off)));
    Solid turned = cube;
    std::vector<Vec3> reversed = cube.polygons[0].vertices();
    std::reverse(reversed.begin(), reversed.end());
    turned.polygons[0] = Polygon::with_plane(std::move(reversed), cube.polygons[0].plane, "turned");
    EXPECT_CORRUPT(decode(encode(turned)));
    Solid flat = cube;  // every vertex on the plane, but no area
    flat.polygons[0] =
        Polygon::with_plane({Vec3{0, 0, 0}, Vec3{1, 0, 0}, Vec3{2, 0, 0}}, cube.polygons[0].plane, "flat");
    EXPECT_CORRUPT(decode(encode(flat)));

    EXPECT_NO_THROW(decode(tetra_body().sealed()));
    EXPECT_CORRUPT(decode(tetra_body(2).sealed()));        // two vertices
    EXPECT_CORRUPT(decode(tetra_body(3, 9).sealed()));     // a point index out of range
    EXPECT_CORRUPT(decode(tetra_body(3, 1, 0).sealed()));  // a zero normal
    EXPECT_CORRUPT(decode(tetra_body(3, 1, 1).sealed()));  // the plane faces the other way
    EXPECT_CORRUPT(decode(tetra_body().sealed(2)));        // another version
    Body trailing = tetra_body();
    trailing.byte(0);
    EXPECT_CORRUPT(decode(trailing.sealed()));
}

TEST(Serial, NumbersAreRefusedOutsideTheirForm) {
    auto one_value = [](const Body& value) {
        Body b;
        b.varint(1);
        b.out.insert(b.out.end(), value.out.begin(), value.out.end());
        b.varint(0).varint(0).varint(0).varint(0);  // no labels, points, planes or polygons
        return b.sealed();
    };
    EXPECT_NO_THROW(decode(one_value(Body().small(-3, 4))));
    EXPECT_CORRUPT(decode(one_value(Body().small(2, 4))));  // not in lowest terms
    EXPECT_CORRUPT(decode(one_value(Body().small(0, 2))));
    EXPECT_CORRUPT(decode(one_value(Body().small(1, 0))));  // zero denominator
    EXPECT_CORRUPT(decode(one_value(Body().byte(0).varint(2).varint(std::uint64_t{1} << 63))));
    EXPECT_CORRUPT(decode(one_value(Body().byte(3).varint(0).varint(1).byte(1))));                  // unknown tag
    EXPECT_CORRUPT(decode(one_value(Body().byte(1).varint(1).byte(5).varint(0))));                  // denominator 0
    EXPECT_CORRUPT(decode(one_value(Body().byte(1).varint(2).byte(5).byte(0).varint(1).byte(1))));  // leading zero
    EXPECT_CORRUPT(decode(one_value(Body().byte(2).varint(1).byte(6).varint(1).byte(4))));          // 6/4
    EXPECT_NO_THROW(decode(one_value(Body().byte(2).varint(1).byte(6).varint(1).byte(5))));
    Body overlong;
    overlong.byte(0);
    for (int i = 0; i < 10; ++i) overlong.byte(0xff);
    overlong.byte(1).varint(1);
    EXPECT_CORRUPT(decode(one_value(overlong)));
}

TEST(Serial, HugeClaimedCountsAreRefusedBeforeAllocating) {
    for (std::uint64_t n : {std::uint64_t{1} << 40, std::uint64_t{1} << 62, ~std::uint64_t{0}}) {
        EXPECT_CORRUPT(decode(Body().varint(n).sealed()));                                          // values
        EXPECT_CORRUPT(decode(Body().varint(0).varint(n).sealed()));                                // labels
        EXPECT_CORRUPT(decode(Body().varint(0).varint(1).varint(n).sealed()));                      // label bytes
        EXPECT_CORRUPT(decode(Body().varint(0).varint(0).varint(n).sealed()));                      // points
        EXPECT_CORRUPT(decode(Body().varint(0).varint(0).varint(0).varint(0).varint(n).sealed()));  // polygons
    }
    Bytes bytes = encode(Solid::cube(1, 1, 1, "c"));
    for (int i = 0; i < 8; ++i) bytes[8 + static_cast<std::size_t>(i)] = 0xff;  // a body length past the end
    EXPECT_CORRUPT(decode(bytes));
}

// The checksum made right again over changed bytes: what reaches the parser
// and the geometric checks is arbitrary.
Bytes resealed(Bytes b) {
    b.resize(b.size() - 8);
    const std::uint64_t body = b.size() - 16;
    for (int i = 0; i < 8; ++i) b[8 + static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(body >> (8 * i));
    const std::uint64_t h = checksum64(b);
    for (int i = 0; i < 8; ++i) b.push_back(static_cast<std::uint8_t>(h >> (8 * i)));
    return b;
}

TEST(Serial, ResealedMutationsDecodeToWellFormedSolidsOrPanic) {
    const Bytes good = encode(workloads::box_cut());
    std::uint64_t state = 12345;
    auto next = [&state](std::uint64_t n) {
        state = state * 6364136223846793005ULL + 1442695040888963407ULL;
        return (state >> 33) % n;
    };
    int decoded = 0;
    for (int round = 0; round < 4000; ++round) {
        Bytes b = good;
        const std::size_t edits = 1 + next(4);
        for (std::size_t e = 0; e < edits; ++e) {
            const std::size_t at = 16 + next(b.size() - 24);
            switch (next(3)) {
                case 0: b[at] = static_cast<std::uint8_t>(next(256)); break;
                case 1: b.erase(b.begin() + static_cast<std::ptrdiff_t>(at)); break;
                default: b.insert(b.begin() + static_cast<std::ptrdiff_t>(at), static_cast<std::uint8_t>(next(256)));
            }
        }
        try {
            Solid s = decode(resealed(b));
            ++decoded;
            for (const Polygon& p : s.polygons) {
                ASSERT_GE(p.vertices().size(), 3u);
                for (const Vec3& v : p.vertices()) ASSERT_EQ(p.plane.side(v), 0);
                ASSERT_FALSE(p.is_degenerate());
            }
            ASSERT_TRUE(watertight_ok(s));
            ASSERT_GE(volume6(s.polygons).sign(), 0);
            if (!s.polygons.empty()) {
                ASSERT_NO_THROW(mesh_of(s));  // closed, simple and without overlapping parts: it meshes
            }
        } catch (const Panic& e) {
            ASSERT_EQ(e.kind, PanicKind::corrupt_data) << e.what();
        }
    }
    EXPECT_GT(decoded, 0);  // some edits (a label byte, say) leave a valid solid
}

TEST(Serial, ChecksumSeesEveryWordAndTheLength) {
    Bytes a(40, 7);
    const std::uint64_t h = checksum64(a);
    Bytes b = a;
    b.push_back(0);
    EXPECT_NE(checksum64(b), h);
    for (std::size_t i = 0; i < a.size(); ++i) {
        Bytes c = a;
        c[i] = 0;
        EXPECT_NE(checksum64(c), h) << i;
    }
}

}  // namespace
}  // namespace corv
