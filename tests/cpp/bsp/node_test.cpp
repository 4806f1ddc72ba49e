#include <gtest/gtest.h>

#include <pthread.h>
#include "support/support.h"

#include <functional>

#include "bsp/node.h"
#include "core/measures.h"
#include "core/transforms.h"

namespace corv {
namespace {

using test::labels;

Vec3 v(int x, int y, int z) { return {x, y, z}; }

// The square [0,1]^2 at height z, facing up (or down when flipped).
Polygon square_at(int z, const std::string& label, bool down = false) {
    Polygon p = Polygon::make({v(0, 0, z), v(1, 0, z), v(1, 1, z), v(0, 1, z)}, label);
    return down ? p.flipped() : p;
}

std::size_t depth(const Node& root) {
    std::size_t best = 0;
    std::vector<std::pair<const Node*, std::size_t>> stack{{&root, 1}};
    while (!stack.empty()) {
        auto [n, d] = stack.back();
        stack.pop_back();
        best = std::max(best, d);
        if (n->front) stack.push_back({n->front.get(), d + 1});
        if (n->back) stack.push_back({n->back.get(), d + 1});
    }
    return best;
}

TEST(Node, BuildSortsByTheFirstPlaneAndReadsOutInPreOrder) {
    std::vector<Polygon> list;
    list.push_back(square_at(0, "up0"));
    list.push_back(square_at(2, "up2"));
    list.push_back(square_at(0, "down0", true));
    list.push_back(square_at(-1, "up-1"));
    // A wall from z = -1 to z = 1: cut in two by the root plane z = 0.
    list.push_back(Polygon::make({v(0, 0, -1), v(1, 0, -1), v(1, 0, 1), v(0, 0, 1)}, "wall"));
    Node root;
    root.build(std::move(list));
    ASSERT_TRUE(root.plane.has_value());
    EXPECT_EQ(*root.plane, square_at(0, "").plane);
    EXPECT_EQ(labels(root.polygons), (std::vector<std::string>{"up0", "down0"}));
    ASSERT_TRUE(root.front && root.back);
    EXPECT_EQ(labels(root.front->polygons), (std::vector<std::string>{"up2"}));
    EXPECT_EQ(labels(root.back->polygons), (std::vector<std::string>{"up-1"}));
    EXPECT_EQ(labels(root.all_polygons()), (std::vector<std::string>{"up0", "down0", "up2", "wall", "up-1", "wall"}));

    // A second build pushes polygons down the existing planes.
    std::vector<Polygon> more;
    more.push_back(square_at(3, "up3"));
    more.push_back(square_at(0, "again0"));
    root.build(std::move(more));
    EXPECT_EQ(labels(root.polygons), (std::vector<std::string>{"up0", "down0", "again0"}));
    EXPECT_EQ(labels(root.take_polygons()),
              (std::vector<std::string>{"up0", "down0", "again0", "up2", "up3", "wall", "up-1", "wall"}));
    EXPECT_TRUE(root.all_polygons().empty());
}

TEST(Node, EmptyTreeClipsNothingAndZeroPlaneTreeClipsEverything) {
    Node empty;
    empty.build({});
    EXPECT_FALSE(empty.plane.has_value());
    std::vector<Polygon> in{square_at(0, "a"), square_at(5, "b")};
    EXPECT_EQ(labels(empty.clip_polygons(in)), (std::vector<std::string>{"a", "b"}));

    // An operand scaled flat: every plane is zero, so all polygons share the
    // root and anything clipped by it lands behind a leaf.
    Solid flat = scaled(Solid::cube(1, 1, 1, "f"), 0, 0, 0);
    Node zero;
    zero.build(flat.polygons);
    EXPECT_EQ(zero.polygons.size(), 6u);
    EXPECT_FALSE(zero.front || zero.back);
    EXPECT_TRUE(zero.clip_polygons(in).empty());
}

TEST(Node, ClipKeepsWhatLiesOutsideTheSolid) {
    Node cube;
    cube.build(Solid::cube(2, 2, 2, "c").polygons);
    std::vector<Polygon> in;
    in.push_back(Polygon::make({v(3, 0, 0), v(4, 0, 0), v(4, 1, 0)}, "outside"));
    in.push_back(Polygon::make({v(0, 0, 0), v(1, 0, 0), v(1, 1, 0)}, "inside"));  // on the bottom, facing in
    // A band through the middle of the cube, sticking out on both sides.
    in.push_back(Polygon::make({v(-1, 1, 0), v(3, 1, 0), v(3, 1, 2), v(-1, 1, 2)}, "band"));
    // On the front face and facing the same way: outside, kept whole.
    in.push_back(Polygon::make({v(0, 0, 0), v(1, 0, 0), v(1, 0, 1)}, "skin"));
    auto out = cube.clip_polygons(std::move(in));
    // The skin leaves at the front-face node, before the others reach the right face.
    EXPECT_EQ(labels(out), (std::vector<std::string>{"skin", "outside", "band", "band"}));
    Rational area;
    for (const Polygon& p : out) area += norm1(p.vector_area2());
    // Twice the areas: the outside triangle 1/2, the skin 1/2, two stubs of 2.
    EXPECT_EQ(area, Rational(1 + 1 + 4 + 4));
}

TEST(Node, InvertTwiceRestoresTheTree) {
    Node t;
    t.build(Solid::cube(2, 3, 5, "c").polygons);
    const auto before = t.all_polygons();
    const Plane root_plane = *t.plane;
    t.invert();
    EXPECT_EQ(*t.plane, root_plane.negated());
    EXPECT_EQ(t.polygons[0].vertices(), before[0].flipped().vertices());
    t.invert();
    const auto after = t.all_polygons();
    ASSERT_EQ(after.size(), before.size());
    for (std::size_t i = 0; i < after.size(); ++i) {
        EXPECT_EQ(after[i].vertices(), before[i].vertices());
        EXPECT_EQ(after[i].float_vertices(), before[i].float_vertices());
        EXPECT_EQ(after[i].plane, before[i].plane);
    }
}

TEST(Node, PolygonsOffTheirOwnPlaneCannotMakeBuildRunForever) {
    // Squares whose stored plane lies one unit above their vertices: against
    // their own plane they are wholly behind it.
    std::vector<Polygon> bad;
    for (int k = 0; k < 5; ++k) {
        Polygon sq = square_at(k, "bad" + std::to_string(k));
        sq.plane.offset += 1;
        bad.push_back(std::move(sq));
    }
    bad.push_back(square_at(10, "good"));
    Node t;
    t.build(std::move(bad));
    EXPECT_EQ(t.all_polygons().size(), 6u);
    EXPECT_LE(depth(t), 6u);
    // The same tree still clips without trouble.
    EXPECT_LE(t.clip_polygons({square_at(20, "probe")}).size(), 1u);
}

// N unit slabs [0,1]^2 x [2k, 2k+1] as one polygon soup: each slab adds a
// level to a chain of planes, so the tree is about 2N deep.
Solid slab_stack(int n) {
    Solid s;
    for (int k = 0; k < n; ++k) {
        Solid slab = translated(Solid::cube(1, 1, 1, "s"), v(0, 0, 2 * k));
        for (Polygon& p : slab.polygons) s.polygons.push_back(std::move(p));
    }
    return s;
}

struct DeepResult {
    std::size_t depth = 0;
    std::size_t clipped = 0;
    std::size_t polygons = 0;
};

DeepResult deep_tree_work(const Solid& slabs) {
    DeepResult r;
    Node t;
    t.build(slabs.polygons);
    r.depth = depth(t);
    // A column through every slab, both ways round: clipped by the deep
    // tree, and the deep tree clipped by the column's.
    const Solid column = translated(Solid::cube(1, 1, 1000000, "col"), v(0, 0, -1));
    r.clipped = t.clip_polygons(column.polygons).size();
    Node col;
    col.build(column.polygons);
    col.clip_to(t);
    t.clip_to(col);
    t.invert();
    r.polygons = t.all_polygons().size() + col.take_polygons().size();
    return r;  // both trees are destroyed here
}

// Runs f on a thread whose stack is only 64 KiB: any walk that recursed
// once per tree level would overflow it.
void on_small_stack(const std::function<void()>& f) {
    pthread_attr_t attr;
    ASSERT_EQ(pthread_attr_init(&attr), 0);
    ASSERT_EQ(pthread_attr_setstacksize(&attr, 64 * 1024), 0);
    pthread_t th;
    auto trampoline = [](void* arg) -> void* {
        (*static_cast<const std::function<void()>*>(arg))();
        return nullptr;
    };
    ASSERT_EQ(pthread_create(&th, &attr, trampoline, const_cast<std::function<void()>*>(&f)), 0);
    pthread_join(th, nullptr);
    pthread_attr_destroy(&attr);
}

TEST(Node, TreesThousandsDeepAreBuiltWalkedAndFreedWithoutRecursion) {
    const Solid slabs = slab_stack(1000);
    DeepResult main_thread = deep_tree_work(slabs);
    EXPECT_GE(main_thread.depth, 2000u);
    EXPECT_GT(main_thread.clipped, 0u);

    DeepResult small_stack;
    on_small_stack([&] { small_stack = deep_tree_work(slabs); });
    EXPECT_EQ(small_stack.depth, main_thread.depth);
    EXPECT_EQ(small_stack.clipped, main_thread.clipped);
    EXPECT_EQ(small_stack.polygons, main_thread.polygons);
}

}  // namespace
}  // namespace corv
