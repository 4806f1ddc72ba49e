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

// A tree as a list: per node in pre-order its children and its faces (by
// their place in the loaded list, which is their first corner's order).
std::vector<std::uint32_t> layout(const bsp::Tree& tree) {
    std::vector<std::uint32_t> out, stack{0};
    while (!stack.empty()) {
        const bsp::TreeNode& node = tree.nodes[stack.back()];
        stack.pop_back();
        out.push_back((node.front != bsp::kNoNode ? 2u : 0u) + (node.back != bsp::kNoNode ? 1u : 0u));
        out.push_back(node.plane);
        for (std::size_t k = 0; k < node.faces.size(); ++k) out.push_back(node.faces[k].first);
        if (node.back != bsp::kNoNode) stack.push_back(node.back);
        if (node.front != bsp::kNoNode) stack.push_back(node.front);
    }
    return out;
}

// The tree laid out from the shape over the solid's faces must be the tree
// that sorting them builds: same nodes, planes and faces in the same places.
void expect_shape_builds_the_tree(const Solid& s, const bsp::TreeShape& shape, const std::string& what) {
    bsp::Workspace built_ws, laid_ws;
    bsp::Tree built, laid;
    bsp::build(built_ws, built, built_ws.load(s));
    ASSERT_TRUE(bsp::build_from_shape(laid, laid_ws.load(s), shape)) << what;
    EXPECT_EQ(layout(laid), layout(built)) << what;
}

// Chains of Booleans of every kind whose operands carry the shapes earlier
// results left: the polygons must be those of the plain Booleans, and a
// result's shape must be the tree that sorting its polygons builds.
TEST(TreeShape, ChainsWithShapesGiveWhatPlainBooleansGive) {
    const BooleanOp ops[3] = {BooleanOp::union_, BooleanOp::cut, BooleanOp::intersect};
    std::size_t results = 0, shaped = 0, reordered = 0;
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
                reordered += !next.tree_shape->order.empty();
                expect_shape_builds_the_tree(next.solid, *next.tree_shape, what);
            }
            if (r.below(2) == 0) other = a;
            a = std::move(next);
        }
    }
    EXPECT_GT(shaped, results * 3 / 4);
    EXPECT_GT(reordered, 0u);
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
        EXPECT_FALSE(bsp::build_from_shape(tree, faces, bsp::TreeShape{nodes, {}}));
        EXPECT_EQ(tree.nodes.size(), 1u);
        EXPECT_EQ(tree.nodes[0].plane, bsp::kNoPlane);
    }
    // Orders that name a face twice, one that is not there, or too few.
    for (const std::vector<std::uint32_t>& order :
         std::vector<std::vector<std::uint32_t>>{{0, 1, 2, 3, 4, 4}, {0, 1, 2, 3, 4, 6}, {0, 1, 2, 3, 4}}) {
        bsp::Tree tree;
        EXPECT_FALSE(bsp::build_from_shape(tree, faces, bsp::TreeShape{good->nodes, order}));
        EXPECT_EQ(tree.nodes.size(), 1u);
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
