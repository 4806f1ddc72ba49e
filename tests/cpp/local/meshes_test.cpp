// The localized engine on triangle meshes with float coordinates taken
// exactly (icospheres, cylinders, a torus): Booleans in general position,
// identical, touching and coplanar operands, against the BSP engine.
#include <gtest/gtest.h>

#include "core/transforms.h"
#include "local/check.h"
#include "support/meshes.h"

namespace corv {
namespace {

using testing_local::agrees_with_bsp;
using testing_local::matches_bsp;

constexpr BooleanOp kOps[] = {BooleanOp::union_, BooleanOp::cut, BooleanOp::intersect};

Vec3 odd_move() { return {Rational(1) / Rational(3), Rational(1) / Rational(5), Rational(1) / Rational(7)}; }

TEST(LocalMeshes, GeneratorsGiveClosedOutwardMeshes) {
    const Solid sphere = meshes::to_solid(meshes::icosphere(2), "s");
    EXPECT_EQ(sphere.polygons.size(), 320u);
    EXPECT_TRUE(watertight_ok(sphere));
    EXPECT_GT(volume6(sphere.polygons).sign(), 0);
    const Solid cyl = meshes::to_solid(meshes::cylinder(0.5, 2.0, 24), "c");
    EXPECT_TRUE(watertight_ok(cyl));
    EXPECT_GT(volume6(cyl.polygons).sign(), 0);
    const Solid tor = meshes::to_solid(meshes::torus(1.0, 0.25, 24, 12), "t");
    EXPECT_TRUE(watertight_ok(tor));
    EXPECT_GT(volume6(tor.polygons).sign(), 0);
}

TEST(LocalMeshes, SpheresInGeneralPosition) {
    const int largest = testing_local::heavy_skipped() ? 1 : 2;
    for (int sub = 1; sub <= largest; ++sub) {
        const Solid a = meshes::to_solid(meshes::icosphere(sub), "a");
        const Solid b = meshes::to_solid(meshes::icosphere(sub), "b", odd_move());
        for (BooleanOp op : kOps) EXPECT_TRUE(matches_bsp(op, a, b)) << sub;
    }
}

TEST(LocalMeshes, IdenticalAndTouchingMeshes) {
    const Solid a = meshes::to_solid(meshes::icosphere(1), "a");
    const Solid cyl = meshes::to_solid(meshes::cylinder(0.5, 1.0, 16), "c");
    // The cylinder standing on top of itself: the caps touch over their whole area.
    const Solid stacked = translated(cyl, Vec3{0, 0, 1});
    // Shifted within its own cap plane: the caps overlap in part, coplanar.
    const Solid slid = translated(cyl, Vec3{Rational(1) / Rational(4), 0, 0});
    for (BooleanOp op : kOps) {
        EXPECT_TRUE(matches_bsp(op, a, a));
        EXPECT_TRUE(matches_bsp(op, cyl, cyl));
        EXPECT_TRUE(matches_bsp(op, cyl, stacked));
        EXPECT_TRUE(matches_bsp(op, cyl, slid));
        EXPECT_TRUE(matches_bsp(op, a, cyl));
    }
    EXPECT_TRUE(local_boolean(BooleanOp::cut, a, a).polygons.empty());
    EXPECT_TRUE(same_shape(local_boolean(BooleanOp::union_, a, a), a));
    EXPECT_TRUE(same_shape(local_boolean(BooleanOp::intersect, cyl, stacked), Solid{}));
}

TEST(LocalMeshes, TorusAndCylinderThroughIt) {
    const Solid tor = meshes::to_solid(meshes::torus(1.0, 0.3, 12, 6), "t");
    const Solid bar = rotated_quarter(meshes::to_solid(meshes::cylinder(0.2, 3.0, 8), "c"), 0, 1);
    const Solid moved = translated(bar, Vec3{1, Rational(1) / Rational(7), Rational(1) / Rational(9)});
    for (BooleanOp op : kOps) EXPECT_TRUE(matches_bsp(op, tor, moved));
}

TEST(LocalMeshes, ChainsOfMeshResultsStayWatertight) {
    const Solid a = meshes::to_solid(meshes::icosphere(1), "a");
    Solid acc = a;
    Solid bsp = a;
    for (int i = 1; i <= 3; ++i) {
        const Vec3 t{Rational(i) / Rational(5), Rational(-i) / Rational(7), Rational(i) / Rational(11)};
        const Solid b = meshes::to_solid(meshes::icosphere(1), std::string("b").append(std::to_string(i)), t);
        acc = local_boolean(i % 2 ? BooleanOp::cut : BooleanOp::union_, acc, b);
        bsp = boolean(i % 2 ? BooleanOp::cut : BooleanOp::union_, bsp, b);
        EXPECT_TRUE(agrees_with_bsp(acc, bsp, i < 3)) << "step " << i;
    }
}

// Exact volume identities of the three operations on a and b.
void expect_inclusion_exclusion(const Solid& a, const Solid& b, bool recombine) {
    const Solid u = local_boolean(BooleanOp::union_, a, b);
    const Solid n = local_boolean(BooleanOp::intersect, a, b);
    const Solid c = local_boolean(BooleanOp::cut, a, b);
    EXPECT_TRUE(watertight_ok(u));
    EXPECT_TRUE(watertight_ok(n));
    EXPECT_TRUE(watertight_ok(c));
    const Rational vn = volume6(n.polygons);
    EXPECT_EQ(volume6(u.polygons) + vn, volume6(a.polygons) + volume6(b.polygons));
    EXPECT_EQ(volume6(c.polygons) + vn, volume6(a.polygons));
    // Putting the two parts of a back together is all coplanar contact:
    // costly on large meshes, so only asked for on small ones.
    if (recombine) {
        EXPECT_TRUE(same_shape(local_boolean(BooleanOp::union_, c, n), a));
    }
}

TEST(LocalMeshes, MediumMeshesAgainstTheBspEngine) {
    if (testing_local::heavy_skipped()) GTEST_SKIP() << "heavy: left out under the sanitizers";
    const Solid a = meshes::to_solid(meshes::icosphere(3), "a");  // 1,280 triangles
    const Solid c = meshes::to_solid(meshes::cylinder(0.4, 3.0, 48), "c");
    EXPECT_TRUE(matches_bsp(BooleanOp::cut, a, c, false));
}

// Up to about 5,000 triangles per operand.
TEST(LocalMeshes, LargeSpheresAndCylinders) {
    if (testing_local::heavy_skipped()) GTEST_SKIP() << "heavy: left out under the sanitizers";
    const Solid a = meshes::to_solid(meshes::icosphere(4), "a");  // 5,120 triangles
    const Solid b = meshes::to_solid(meshes::icosphere(4), "b", odd_move());
    const Solid c = meshes::to_solid(meshes::cylinder(0.4, 3.0, 300), "c");  // 1,200 triangles
    expect_inclusion_exclusion(a, b, false);
    expect_inclusion_exclusion(a, c, false);
    expect_inclusion_exclusion(c, translated(c, Vec3{Rational(1) / Rational(5), 0, 1}), false);
}

TEST(LocalMeshes, PartsOfASphereRecombine) {
    const Solid a = meshes::to_solid(meshes::icosphere(1), "a");
    const Solid c = meshes::to_solid(meshes::cylinder(0.4, 3.0, 12), "c");
    expect_inclusion_exclusion(a, c, true);
    expect_inclusion_exclusion(a, meshes::to_solid(meshes::icosphere(1), "b", odd_move()), true);
}

}  // namespace
}  // namespace corv
