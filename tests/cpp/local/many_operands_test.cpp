// One-pass unions and cuts of many operands, and the point-set comparison.
#include <gtest/gtest.h>

#include "core/transforms.h"
#include "local/check.h"
#include "support/workloads.h"

namespace corv {
namespace {

TEST(LocalManyOperands, UnionAllIsTheChainOfUnions) {
    const std::vector<Solid> boxes = workloads::shifted_boxes(12);
    const Solid all = local_union_all(boxes);
    EXPECT_TRUE(watertight_ok(all));
    const Solid bsp = workloads::box_union(12);
    EXPECT_TRUE(testing_local::agrees_with_bsp(all, bsp, true));
    EXPECT_TRUE(local_union_all(std::span<const Solid>{}).polygons.empty());
    EXPECT_TRUE(same_shape(local_union_all(std::span<const Solid>(boxes.data(), 1)), boxes[0]));
}

TEST(LocalManyOperands, UnionAllOfOverlappingAndCoplanarCopies) {
    const Solid a = Solid::cube(2, 2, 2, "a");
    const std::vector<Solid> parts{a, a, translated(a, Vec3{1, 0, 0}), translated(a, Vec3{0, 2, 0})};
    const Solid all = local_union_all(parts);
    EXPECT_TRUE(watertight_ok(all));
    EXPECT_EQ(volume6(all.polygons), Rational(6 * 20));  // [0,3]x[0,2]x[0,2] and [0,2]x[2,4]x[0,2]
}

TEST(LocalManyOperands, CutAllDrillsThePlateInOnePass) {
    const int k = testing_local::heavy_skipped() ? 3 : 6;
    const Solid blank = workloads::plate_blank(k);
    const std::vector<Solid> holes = workloads::plate_holes(k);
    const Solid drilled = local_cut_all(blank, holes);
    EXPECT_TRUE(watertight_ok(drilled));
    const Solid bsp = workloads::plate(k);
    EXPECT_EQ(volume6(drilled.polygons), volume6(bsp.polygons));
    EXPECT_TRUE(same_shape(drilled, bsp));
    EXPECT_TRUE(same_shape(local_cut_all(blank, {}), blank));
}

TEST(LocalManyOperands, CutAllWithOverlappingTools) {
    const Solid a = Solid::cube(4, 4, 4, "a");
    const Solid t = Solid::cube(2, 2, 6, "t");
    const std::vector<Solid> tools{translated(t, Vec3{0, 0, -1}), translated(t, Vec3{1, 1, -1}),
                                   translated(t, Vec3{1, 1, -1})};
    const Solid r = local_cut_all(a, tools);
    EXPECT_TRUE(watertight_ok(r));
    EXPECT_EQ(volume6(r.polygons), Rational(6 * (64 - 4 * 7)));
}

TEST(LocalManyOperands, SameShapeComparesPointSets) {
    const Solid a = Solid::cube(2, 2, 2, "a");
    // The same box as the union of two halves, divided differently.
    const Solid halves = local_boolean(BooleanOp::union_, Solid::cube(1, 2, 2, "l"),
                                       translated(Solid::cube(1, 2, 2, "r"), Vec3{1, 0, 0}));
    EXPECT_TRUE(same_shape(a, halves));
    EXPECT_TRUE(same_shape(halves, a));
    EXPECT_FALSE(same_shape(a, translated(a, Vec3{0, 0, Rational(1) / Rational(1000)})));
    EXPECT_FALSE(same_shape(a, Solid{}));
    EXPECT_TRUE(same_shape(Solid{}, Solid{}));
}

}  // namespace
}  // namespace corv
