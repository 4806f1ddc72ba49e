#include "core/solid.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <set>
#include <string>

#include "support/support.h"

#include "core/measures.h"
#include "core/panic.h"
#include "core/transforms.h"
#include "rs_entry/number_text.h"

using corv::Rational;
using corv::Solid;
using corv::Vec3;
using corv::rs_entry::parse_r;
using namespace corv;  // free functions of the core

namespace {

Solid box(const char* dx, const char* dy, const char* dz) {
    return Solid::cube(parse_r(dx), parse_r(dy), parse_r(dz), "box");
}

const char* kUnitCubeCanonical =
    "0/1,0/1,0/1|0/1,0/1,1/1|0/1,1/1,0/1|0/1,1/1,1/1;0/1,0/1,0/1|0/1,0/1,1/1|1/1,0/1,0/1|1/1,0/1,1/1;"
    "0/1,0/1,0/1|0/1,1/1,0/1|1/1,0/1,0/1|1/1,1/1,0/1;0/1,0/1,1/1|0/1,1/1,1/1|1/1,0/1,1/1|1/1,1/1,1/1;"
    "0/1,1/1,0/1|0/1,1/1,1/1|1/1,1/1,0/1|1/1,1/1,1/1;1/1,0/1,0/1|1/1,0/1,1/1|1/1,1/1,0/1|1/1,1/1,1/1";

}  // namespace

TEST(Cube, FacesLabelsAndPlanes) {
    Solid s = box("1", "1", "1");
    ASSERT_EQ(s.polygons.size(), 6u);
    const char* names[] = {"box.bottom", "box.top", "box.front", "box.back", "box.right", "box.left"};
    for (std::size_t i = 0; i < 6; ++i) EXPECT_EQ(s.polygons[i].label, names[i]);
    EXPECT_EQ(s.polygons[0].plane.normal, (Vec3{0, 0, -1}));
    EXPECT_TRUE(s.polygons[0].plane.offset.is_zero());
    EXPECT_EQ(s.polygons[1].plane.normal, (Vec3{0, 0, 1}));
    EXPECT_EQ(s.polygons[1].plane.offset, Rational(1));
}

TEST(Cube, FlatAndInsideOutBoxes) {
    Solid flat = box("2", "3", "0");
    ASSERT_EQ(flat.polygons.size(), 2u);
    EXPECT_EQ(flat.polygons[0].label, "box.bottom");
    EXPECT_EQ(flat.polygons[1].label, "box.top");
    EXPECT_EQ(flat.polygons[0].plane.normal, neg(flat.polygons[1].plane.normal));
    EXPECT_TRUE(box("0", "0", "1").polygons.empty());
    Solid inside_out = box("-1", "1", "1");
    EXPECT_EQ(inside_out.polygons.size(), 6u);
    EXPECT_EQ(volume6(inside_out.polygons), Rational(-6));
}

// The box's planes are written out rather than computed from its corners:
// they must be exactly what the corners give, moved or not, for any signs
// and sizes (zero, fractions, beyond 64 bits), and moving the box must give
// the translated box polygon for polygon.
TEST(Cube, PlanesAreThoseOfTheCornersAndMovingEqualsTranslating) {
    const char* sizes[] = {"1", "0", "-3", "2/7", "-5/3", "123456789012345678901234567890", "1/98765432109876543210"};
    const char* moves[] = {"0", "1", "-1/3", "7", "-99999999999999999999/7"};
    std::mt19937 rng(11);
    for (int round = 0; round < 200; ++round) {
        const Rational dx = parse_r(sizes[rng() % 7]), dy = parse_r(sizes[rng() % 7]), dz = parse_r(sizes[rng() % 7]);
        const Vec3 move{parse_r(moves[rng() % 5]), parse_r(moves[rng() % 5]), parse_r(moves[rng() % 5])};
        const Solid at = Solid::cube_at(move, dx, dy, dz, "B");
        const Solid moved = translated(Solid::cube(dx, dy, dz, "B"), move);
        ASSERT_EQ(at.polygons.size(), moved.polygons.size());
        for (std::size_t i = 0; i < at.polygons.size(); ++i) {
            const Polygon& p = at.polygons[i];
            EXPECT_EQ(p.vertices(), moved.polygons[i].vertices());
            EXPECT_EQ(p.plane, moved.polygons[i].plane);
            EXPECT_EQ(p.label, moved.polygons[i].label);
            EXPECT_EQ(p.plane, Plane::from_points(p.vertices()[0], p.vertices()[1], p.vertices()[2]));
        }
    }
}

TEST(Measures, VolumeBboxAndCanonicalText) {
    Solid s = box("1", "2", "3");
    EXPECT_EQ(volume6(s.polygons).text(), "36/1");
    auto [lo, hi] = bbox(s.polygons);
    EXPECT_EQ(lo, (Vec3{0, 0, 0}));
    EXPECT_EQ(hi, (Vec3{1, 2, 3}));
    std::string unit = canonical(box("1", "1", "1").polygons);
    EXPECT_EQ(unit, kUnitCubeCanonical);
    EXPECT_EQ(unit.size(), 287u);
    EXPECT_EQ(canonical({}), "");
    EXPECT_TRUE(volume6({}).is_zero());
    EXPECT_PANIC_KIND(bbox({}), corv::PanicKind::empty_solid);
}

TEST(Measures, CanonicalIgnoresOrderStartDirectionLabelsAndRepeats) {
    Solid s = box("1", "1", "1");
    Solid t;
    for (auto it = s.polygons.rbegin(); it != s.polygons.rend(); ++it) {
        const corv::Polygon p = it->flipped();
        std::vector<corv::Vec3> loop = p.vertices();
        std::rotate(loop.begin(), loop.begin() + 1, loop.end());
        t.polygons.push_back(corv::Polygon::with_plane(std::move(loop), p.plane, "other"));
    }
    t.polygons.push_back(s.polygons[2]);
    EXPECT_EQ(canonical(t.polygons), kUnitCubeCanonical);
}

// The canonical text against its plain definition (a set of keys, each the
// sorted point texts of one polygon), on loops whose texts differ early,
// late, by sign, by length and not at all (repeated points and polygons).
TEST(Measures, CanonicalMatchesItsDefinition) {
    auto reference = [](const std::vector<corv::Polygon>& polygons) {
        std::set<std::string> keys;
        for (const corv::Polygon& p : polygons) {
            std::vector<std::string> points;
            for (const Vec3& v : p.vertices()) points.push_back(point_text(v));
            std::sort(points.begin(), points.end());
            std::string key;
            for (std::size_t i = 0; i < points.size(); ++i) key += (i ? "|" : "") + points[i];
            keys.insert(key);
        }
        std::string out;
        for (const std::string& k : keys) out += (out.empty() ? "" : ";") + k;
        return out;
    };
    const char* values[] = {"0",
                            "1",
                            "-1",
                            "10",
                            "-10",
                            "1/3",
                            "-1/3",
                            "2",
                            "11",
                            "12345678901234567890123",
                            "-9223372036854775807/9223372036854775806",
                            "-9223372036854775808"};
    constexpr unsigned kValues = sizeof values / sizeof values[0];
    std::mt19937 rng(5);
    for (int round = 0; round < 100; ++round) {
        std::vector<corv::Polygon> polygons;
        const int count = static_cast<int>(rng() % 6);
        for (int k = 0; k < count; ++k) {
            std::vector<Vec3> loop;
            const int corners = 3 + static_cast<int>(rng() % 4);
            for (int c = 0; c < corners; ++c) {
                loop.push_back({parse_r(values[rng() % kValues]), parse_r(values[rng() % kValues]),
                                parse_r(values[rng() % kValues])});
            }
            polygons.push_back(corv::Polygon::with_plane(std::move(loop), corv::Plane{}, "p"));
            if (rng() % 4 == 0) polygons.push_back(polygons.back());
        }
        ASSERT_EQ(canonical(polygons), reference(polygons));
    }
}

TEST(Transforms, RotationsAboutEachAxis) {
    Solid s = box("1", "1", "1");
    auto [lo, hi] = bbox(rotated_quarter(s, 2, 1).polygons);
    EXPECT_EQ(lo, (Vec3{-1, 0, 0}));
    EXPECT_EQ(hi, (Vec3{0, 1, 1}));
    for (std::int64_t q : {0, 4, -4}) EXPECT_EQ(canonical(rotated_quarter(s, 2, q).polygons), kUnitCubeCanonical);
    Solid b = box("1", "2", "3");
    EXPECT_EQ(canonical(rotated_quarter(b, 0, -1).polygons), canonical(rotated_quarter(b, 0, 3).polygons));
    EXPECT_EQ(canonical(rotated_quarter(b, 5, 1).polygons), canonical(rotated_quarter(b, 2, 1).polygons));
    // About x one step takes (y, z) to (-z, y); about y it takes (z, x) to (-x, z).
    auto [lx, hx] = bbox(rotated_quarter(b, 0, 1).polygons);
    EXPECT_EQ(lx, (Vec3{0, -3, 0}));
    EXPECT_EQ(hx, (Vec3{1, 0, 2}));
    auto [ly, hy] = bbox(rotated_quarter(b, 1, 1).polygons);
    EXPECT_EQ(ly, (Vec3{0, 0, -1}));
    EXPECT_EQ(hy, (Vec3{3, 2, 0}));
    // axis + 2 wraps for the largest axis value, which then acts as z, not as x.
    EXPECT_EQ(canonical(rotated_quarter(b, UINT64_MAX, 1).polygons), canonical(rotated_quarter(b, 2, 1).polygons));
    EXPECT_EQ(volume6(rotated_quarter(b, 7, 3).polygons), Rational(36));
}

TEST(Transforms, ScaleMirrorTranslateKeepOrientationAndLabels) {
    Solid b = box("1", "2", "3");
    EXPECT_EQ(volume6(scaled(b, -1, 1, 1).polygons), Rational(36));
    EXPECT_EQ(volume6(mirrored(b, 1).polygons), Rational(36));
    EXPECT_EQ(volume6(scaled(b, 2, 3, 4).polygons), Rational(36 * 24));
    Solid flat = scaled(b, 1, 1, 0);
    EXPECT_EQ(flat.polygons.size(), 6u);
    EXPECT_TRUE(volume6(flat.polygons).is_zero());
    int zero_planes = 0;
    for (const auto& p : flat.polygons) zero_planes += p.plane.normal == Vec3{0, 0, 0};
    EXPECT_EQ(zero_planes, 4);
    Vec3 t{parse_r("1/3"), parse_r("-7"), parse_r("123456789012345678901234567890")};
    Solid moved = translated(b, t);
    EXPECT_EQ(volume6(moved.polygons), Rational(36));
    EXPECT_EQ(canonical(translated(moved, neg(t)).polygons), canonical(b.polygons));
    for (const Solid& s : {moved, mirrored(b, 0), scaled(b, -1, -1, -1), rotated_quarter(b, 1, 2)}) {
        for (std::size_t i = 0; i < 6; ++i) EXPECT_EQ(s.polygons[i].label, b.polygons[i].label);
    }
    EXPECT_PANIC_KIND(mirrored(b, 3), corv::PanicKind::invalid_argument);
    EXPECT_TRUE(mirrored(Solid{}, 3).polygons.empty());
    // Mirroring flips: the plane is the negation of the recomputed one.
    Solid m = mirrored(b, 2);
    // The old bottom (z = 0) is now the top of the box z in [-3, 0]: it faces +z.
    EXPECT_EQ(m.polygons[0].plane.normal, (Vec3{0, 0, 2}));
    EXPECT_TRUE(m.polygons[0].plane.offset.is_zero());
}

// volume6 sums loops of small integers in machine integers and the rest in
// Rationals; either way the sum must be the exact fan sum, including
// coordinates at the edge of the machine path, sums past 64 bits, and
// solids that mix both kinds of loop.
TEST(Volume6, MatchesTheExactFanSum) {
    std::mt19937_64 rng(77);
    const std::int64_t edge = (std::int64_t(1) << 30) - 1;
    auto coordinate = [&]() -> Rational {
        switch (rng() % 6) {
            case 0: return Rational(edge) * Rational((rng() % 2) ? 1 : -1);
            case 1: return Rational(edge + 1);  // just past the machine path
            case 2: return Rational(std::int64_t(rng() % 7) - 3) / Rational(std::int64_t(rng() % 5) + 2);
            default: return Rational(std::int64_t(rng() % (2 * edge + 1)) - edge);
        }
    };
    for (int trial = 0; trial < 300; ++trial) {
        std::vector<Polygon> polygons;
        Rational expected;
        const int loops = 1 + static_cast<int>(rng() % 5);
        for (int l = 0; l < loops; ++l) {
            std::vector<Vec3> v;
            const int n = 3 + static_cast<int>(rng() % 6);
            for (int i = 0; i < n; ++i) v.push_back(Vec3{coordinate(), coordinate(), coordinate()});
            for (std::size_t i = 1; i + 1 < v.size(); ++i) expected += dot(v[0], cross(v[i], v[i + 1]));
            polygons.push_back(Polygon::with_plane(std::move(v), Plane{}, "p"));
        }
        ASSERT_EQ(volume6(polygons), expected) << "trial " << trial;
    }
}
