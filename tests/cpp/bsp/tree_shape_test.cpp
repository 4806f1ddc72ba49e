#include "bsp/tree_shape.h"

#include <gtest/gtest.h>

#include <memory>

#include "bsp/boolean.h"
#include "support/random_solids.h"
#include "support/support.h"

namespace corv {
namespace {

using test::expect_same_polygons;

// The shape of a tree built by sorting the solid's faces, or nothing.
std::optional<bsp::TreeShape> built_shape(const Solid& s) {
    bsp::Workspace ws;
    bsp::Tree tree;
    bsp::build(ws, tree, ws.load(s));
    return bsp::shape_of(ws, tree);
}

// Chains of Booleans of every kind whose operands carry the shapes earlier
// results left: the polygons must be those of the plain Booleans, and a
// result's shape must be the tree that sorting its polygons builds.
TEST(TreeShape, ChainsWithShapesGiveWhatPlainBooleansGive) {
    const BooleanOp ops[3] = {BooleanOp::union_, BooleanOp::cut, BooleanOp::intersect};
    std::size_t results = 0, shaped = 0;
    for (std::uint64_t seed = 0; seed < 80; ++seed) {
        testing_random::Rng r{seed + 1000};
        ShapedSolid a{testing_random::operand(r, "a"), nullptr};
        ShapedSolid other{testing_random::operand(r, "o"), nullptr};
        const int steps = r.between(1, 6);
        for (int i = 0; i < steps; ++i) {
            const BooleanOp op = ops[r.below(3)];
            const ShapedSolid b = r.below(3) == 0 ? other : ShapedSolid{testing_random::operand(r, "b"), nullptr};
            const std::string what = "seed " + std::to_string(seed) + ", step " + std::to_string(i);
            ShapedSolid next = boolean(op, a.solid, a.tree_shape.get(), b.solid, b.tree_shape.get());
            expect_same_polygons(next.solid, boolean(op, a.solid, b.solid), what);
            ++results;
            if (next.tree_shape) {
                ++shaped;
                const std::optional<bsp::TreeShape> rebuilt = built_shape(next.solid);
                ASSERT_TRUE(rebuilt) << what;
                EXPECT_EQ(rebuilt->nodes, next.tree_shape->nodes) << what;
            }
            if (r.below(2) == 0) other = a;
            a = std::move(next);
        }
    }
    EXPECT_GT(shaped, results / 2);
}

// A shape that does not fit the faces is refused and the tree left empty:
// counts that do not add up, a node without faces, links that do not close.
TEST(TreeShape, ShapesThatDoNotFitAreRefused) {
    const Solid box = Solid::cube(1, 1, 1, "b");
    bsp::Workspace ws;
    const std::vector<bsp::Face> faces = ws.load(box);
    const std::optional<bsp::TreeShape> good = built_shape(box);
    ASSERT_TRUE(good);
    const std::vector<std::vector<std::uint32_t>> bad = {
        {},                    // no nodes for six faces
        {6 << 2 | 2},          // a front child announced, none given
        {5 << 2},              // five faces of six
        {7 << 2},              // seven
        {0 << 2 | 2, 6 << 2},  // a node without faces
        {3 << 2, 3 << 2},      // a second node nobody announced
    };
    for (const std::vector<std::uint32_t>& nodes : bad) {
        bsp::Tree tree;
        EXPECT_FALSE(bsp::build_from_shape(tree, faces, bsp::TreeShape{nodes}));
        EXPECT_EQ(tree.nodes.size(), 1u);
        EXPECT_EQ(tree.nodes[0].plane, bsp::kNoPlane);
    }
    bsp::Tree tree;
    ASSERT_TRUE(bsp::build_from_shape(tree, faces, *good));
    EXPECT_EQ(bsp::take_faces(tree).size(), faces.size());
    // No faces, no nodes.
    bsp::Tree empty;
    EXPECT_TRUE(bsp::build_from_shape(empty, {}, bsp::TreeShape{}));
    EXPECT_FALSE(bsp::build_from_shape(empty, faces, bsp::TreeShape{}));
}

}  // namespace
}  // namespace corv
