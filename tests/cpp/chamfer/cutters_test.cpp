#include <gtest/gtest.h>

#include <random>

#include "support/support.h"

#include "chamfer/cutters.h"
#include "chamfer/solve3.h"
#include "core/measures.h"

namespace corv {
namespace {

using test::labels;

Vec3 v(std::int64_t x, std::int64_t y, std::int64_t z) { return {x, y, z}; }

TEST(Parallelepiped, RightHandedUnitVectorsGiveTheUnitBoxUnflipped) {
    const Solid cutter = parallelepiped(v(0, 0, 0), v(1, 0, 0), v(0, 1, 0), v(0, 0, 1), "chamfer");
    const Solid box = Solid::cube(1, 1, 1, "box");
    EXPECT_EQ(labels(cutter),
              (std::vector<std::string>{"chamfer.b", "chamfer.t", "chamfer.f", "chamfer.k", "chamfer.r", "chamfer.l"}));
    ASSERT_EQ(cutter.polygons.size(), 6u);
    for (std::size_t i = 0; i < 6; ++i) {
        EXPECT_EQ(cutter.polygons[i].vertices(), box.polygons[i].vertices()) << i;
        EXPECT_EQ(cutter.polygons[i].plane, box.polygons[i].plane) << i;
    }
    EXPECT_EQ(volume6(cutter.polygons), Rational(6));
}

TEST(Parallelepiped, LeftHandedVectorsAreTurnedOutward) {
    const Solid plain = parallelepiped(v(0, 0, 0), v(1, 0, 0), v(0, 1, 0), v(0, 0, -1), "chamfer");
    ASSERT_EQ(plain.polygons.size(), 6u);
    EXPECT_EQ(volume6(plain.polygons), Rational(6));
    // Face b keeps its place in the order but runs 1, 2, 3, 0 now.
    const Polygon& b = plain.polygons[0];
    EXPECT_EQ(b.label, "chamfer.b");
    EXPECT_EQ(b.vertices(), (std::vector<Vec3>{v(1, 0, 0), v(1, 1, 0), v(0, 1, 0), v(0, 0, 0)}));
    EXPECT_EQ(b.plane.normal, v(0, 0, 1));

    // A sheared, left-handed block is still outward: its volume is |det| = 2*3*4.
    const Solid sheared = parallelepiped(v(5, -1, 2), v(0, 3, 0), v(2, 0, 1), v(1, 1, 4), "c");
    EXPECT_EQ(volume6(sheared.polygons), Rational(6 * 21));
}

TEST(Parallelepiped, FlatBlockKeepsOnlyItsTwoFacesFlipped) {
    const Solid flat = parallelepiped(v(0, 0, 0), v(1, 0, 0), v(0, 1, 0), v(0, 0, 0), "chamfer");
    ASSERT_EQ(labels(flat), (std::vector<std::string>{"chamfer.b", "chamfer.t"}));
    EXPECT_EQ(flat.polygons[0].plane.normal, v(0, 0, 1));   // b faced -z before the flip
    EXPECT_EQ(flat.polygons[1].plane.normal, v(0, 0, -1));  // t faced +z
    EXPECT_TRUE(volume6(flat.polygons).is_zero());
}

// A block's planes come from its spanning vectors rather than its corners:
// they must be exactly what the first three corners of each face give, for
// skewed, left-handed and flat blocks with fractional vectors.
TEST(Parallelepiped, PlanesAreThoseOfTheCorners) {
    std::mt19937_64 rng(5);
    auto value = [&] {
        return Rational(static_cast<std::int64_t>(rng() % 41) - 20) /
               Rational(static_cast<std::int64_t>(rng() % 9) + 1);
    };
    auto vec = [&] { return Vec3{value(), value(), value()}; };
    for (int round = 0; round < 300; ++round) {
        const Vec3 o = vec(), e1 = vec(), e2 = vec();
        const Vec3 e3 = round % 10 == 0 ? add(e1, e2) : vec();  // every tenth block flat
        const Solid block = parallelepiped(o, e1, e2, e3, "chamfer");
        // outward() turns every face of a block without positive volume:
        // turned back, each face must have the plane of its first corners.
        const bool turned = dot(e1, cross(e2, e3)).sign() <= 0;
        for (const Polygon& p : block.polygons) {
            const Polygon original = turned ? p.flipped() : p;
            ASSERT_EQ(original.plane,
                      Plane::from_points(original.vertices()[0], original.vertices()[1], original.vertices()[2]))
                << round;
        }
    }
}

TEST(Tetra, CornerOfTheUnitCubeIsFlippedToFaceOutward) {
    const Solid t = tetra(v(0, 0, 0), v(1, 0, 0), v(0, 1, 0), v(0, 0, 1), "corner");
    EXPECT_EQ(labels(t), (std::vector<std::string>{"corner.a", "corner.b", "corner.c", "corner.d"}));
    EXPECT_EQ(volume6(t.polygons), Rational(1));
    // a was P0 P1 P2 facing +z, into the tetrahedron; now reversed.
    EXPECT_EQ(t.polygons[0].vertices(), (std::vector<Vec3>{v(0, 1, 0), v(1, 0, 0), v(0, 0, 0)}));
    EXPECT_EQ(t.polygons[0].plane.normal, v(0, 0, -1));

    const Solid kept = tetra(v(0, 0, 0), v(0, 1, 0), v(1, 0, 0), v(0, 0, 1), "corner");
    EXPECT_EQ(kept.polygons[0].vertices(), (std::vector<Vec3>{v(0, 0, 0), v(0, 1, 0), v(1, 0, 0)}));
    EXPECT_EQ(volume6(kept.polygons), Rational(1));
}

TEST(Tetra, CoincidentPointsLeaveNoFaces) {
    const Vec3 p{Rational(1) / Rational(3), 2, 0};
    EXPECT_TRUE(tetra(p, p, p, p, "corner").polygons.empty());
    // Four coplanar points: every face is flat but some have area.
    const Solid flat = tetra(v(0, 0, 0), v(1, 0, 0), v(0, 1, 0), v(1, 1, 0), "corner");
    EXPECT_TRUE(volume6(flat.polygons).is_zero());
}

TEST(Solve3, CramersRuleIsExact) {
    const Vec3 r{2, -3, Rational(1) / Rational(2)};
    EXPECT_EQ(solve3({v(1, 0, 0), v(0, 1, 0), v(0, 0, 1)}, r), r);

    // x + y = 3, y + z = 5, x + z = 4  ->  (1, 2, 3)
    EXPECT_EQ(solve3({v(1, 1, 0), v(0, 1, 1), v(1, 0, 1)}, v(3, 5, 4)), v(1, 2, 3));

    // A system with a fractional answer and permuted, scaled rows.
    const std::array<Vec3, 3> m{v(0, 3, 0), v(2, 0, 0), v(0, 0, -7)};
    const std::optional<Vec3> x = solve3(m, v(1, 1, 1));
    ASSERT_TRUE(x);
    EXPECT_EQ(*x, (Vec3{Rational(1) / Rational(2), Rational(1) / Rational(3), Rational(-1) / Rational(7)}));
}

TEST(Solve3, SingularSystemsHaveNoSolution) {
    EXPECT_FALSE(solve3({v(1, 2, 3), v(1, 2, 3), v(0, 0, 1)}, v(1, 1, 1)));
    EXPECT_FALSE(solve3({v(1, 0, 0), v(0, 1, 0), v(1, 1, 0)}, v(1, 1, 2)));
    EXPECT_FALSE(solve3({v(0, 0, 0), v(0, 1, 0), v(0, 0, 1)}, v(0, 0, 0)));
}

}  // namespace
}  // namespace corv
