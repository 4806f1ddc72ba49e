// The localized engine on boxes: overlapping, touching on a face, an edge or
// a corner, nested, identical, coplanar, disjoint, empty and flat operands.
#include <gtest/gtest.h>

#include "core/transforms.h"
#include "local/check.h"

namespace corv {
namespace {

using testing_local::matches_bsp;

constexpr BooleanOp kOps[] = {BooleanOp::union_, BooleanOp::cut, BooleanOp::intersect};

Solid box(int dx, int dy, int dz, const char* name, Vec3 at = Vec3{0, 0, 0}) {
    return translated(Solid::cube(dx, dy, dz, name), at);
}

Rational q(int n, int d) { return Rational(n) / Rational(d); }

TEST(LocalBoxes, OverlappingTouchingAndApart) {
    const Solid a = box(2, 2, 2, "a");
    const Vec3 moves[] = {
        {1, 1, 1},                    // overlapping corner
        {2, 0, 0},                    // touching on a whole face
        {2, 1, 0},                    // touching on part of a face
        {2, 2, 0},                    // touching along an edge
        {2, 2, 2},                    // touching at a corner
        {0, 0, 1},                    // coplanar sides, overlapping
        {q(1, 2), q(1, 3), q(1, 5)},  // general position
        {5, 0, 0},                    // apart
    };
    for (const Vec3& m : moves) {
        const Solid b = box(2, 2, 2, "b", m);
        for (BooleanOp op : kOps) EXPECT_TRUE(matches_bsp(op, a, b)) << point_text(m);
    }
}

TEST(LocalBoxes, NestedIdenticalAndInsideTouching) {
    const Solid a = box(4, 4, 4, "a");
    const Solid inner = box(2, 2, 2, "b", Vec3{1, 1, 1});
    const Solid flush = box(2, 2, 2, "b", Vec3{0, 1, 1});  // shares a face plane from inside
    for (BooleanOp op : kOps) {
        EXPECT_TRUE(matches_bsp(op, a, inner));
        EXPECT_TRUE(matches_bsp(op, inner, a));
        EXPECT_TRUE(matches_bsp(op, a, a));
        EXPECT_TRUE(matches_bsp(op, a, flush));
        EXPECT_TRUE(matches_bsp(op, flush, a));
    }
}

TEST(LocalBoxes, ResultsOfKnownVolume) {
    const Solid a = box(2, 2, 2, "a");
    const Solid b = box(2, 2, 2, "b", Vec3{1, 1, 1});
    EXPECT_EQ(volume6(local_boolean(BooleanOp::union_, a, b).polygons), Rational(90));
    EXPECT_EQ(volume6(local_boolean(BooleanOp::cut, a, b).polygons), Rational(42));
    EXPECT_EQ(volume6(local_boolean(BooleanOp::intersect, a, b).polygons), Rational(6));
    EXPECT_TRUE(local_boolean(BooleanOp::cut, a, a).polygons.empty());
    EXPECT_TRUE(local_boolean(BooleanOp::intersect, a, box(1, 1, 1, "c", Vec3{2, 0, 0})).polygons.empty());
}

TEST(LocalBoxes, EmptyAndFlatOperands) {
    const Solid a = box(2, 2, 2, "a");
    const Solid empty;
    const Solid flat = Solid::cube(2, 2, 0, "f");  // two faces back to back
    EXPECT_EQ(volume6(local_boolean(BooleanOp::union_, a, empty).polygons), Rational(48));
    EXPECT_EQ(volume6(local_boolean(BooleanOp::union_, empty, a).polygons), Rational(48));
    EXPECT_TRUE(local_boolean(BooleanOp::cut, empty, a).polygons.empty());
    EXPECT_TRUE(local_boolean(BooleanOp::union_, empty, empty).polygons.empty());
    // A flat operand adds and removes nothing, and leaves no sheet behind.
    for (const Vec3& at : {Vec3{0, 0, 1}, Vec3{0, 0, 2}, Vec3{1, 1, 1}, Vec3{5, 5, 5}}) {
        const Solid f = translated(flat, at);
        for (BooleanOp op : {BooleanOp::union_, BooleanOp::cut}) {
            const Solid r = local_boolean(op, a, f);
            EXPECT_EQ(volume6(r.polygons), Rational(48)) << point_text(at);
            EXPECT_TRUE(same_shape(r, a)) << point_text(at);
        }
        EXPECT_TRUE(local_boolean(BooleanOp::intersect, a, f).polygons.empty()) << point_text(at);
        EXPECT_TRUE(local_boolean(BooleanOp::union_, f, f).polygons.empty());
    }
}

TEST(LocalBoxes, UntouchedFacesComeOutWhole) {
    const Solid a = box(4, 4, 4, "a");
    const Solid b = box(1, 1, 1, "b", Vec3{q(3, 2), q(3, 2), 3});  // pokes into the top face only
    const Solid r = local_boolean(BooleanOp::cut, a, b);
    std::size_t whole = 0;
    for (const Polygon& p : a.polygons) {
        for (const Polygon& o : r.polygons) whole += o.vertices() == p.vertices() ? 1u : 0u;
    }
    EXPECT_EQ(whole, 5u);
    EXPECT_TRUE(matches_bsp(BooleanOp::cut, a, b));
}

TEST(LocalBoxes, LabelsAndOrientationOfToolFaces) {
    const Solid a = box(2, 2, 2, "a");
    const Solid b = box(2, 2, 2, "b", Vec3{1, 1, 1});
    const Solid r = local_boolean(BooleanOp::cut, a, b);
    bool tool_face = false;
    for (const Polygon& p : r.polygons) {
        ASSERT_FALSE(p.is_degenerate());
        ASSERT_EQ(p.label[0] == 'a' || p.label[0] == 'b', true);
        if (p.label[0] == 'b') {
            tool_face = true;
            // A tool face bounds the hole: it faces the removed corner, whose
            // far end (3, 3, 3) lies in front of it.
            EXPECT_EQ(p.plane.side(Vec3{3, 3, 3}), 1);
        }
        for (const Vec3& v : p.vertices()) EXPECT_EQ(p.plane.side(v), 0);
    }
    EXPECT_TRUE(tool_face);
}

}  // namespace
}  // namespace corv
