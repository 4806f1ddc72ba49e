#include "bsp/tree.h"

#include <gtest/gtest.h>
#include <pthread.h>

#include <functional>

#include "core/measures.h"
#include "core/transforms.h"
#include "support/support.h"

namespace corv {
namespace {

using bsp::Face;
using bsp::kNoNode;
using bsp::kNoPlane;
using bsp::Tree;
using bsp::Workspace;
using test::labels;

Vec3 v(int x, int y, int z) { return {x, y, z}; }

// The square [0,1]^2 at height z, facing up (or down when flipped).
Polygon square_at(int z, const std::string& label, bool down = false) {
    Polygon p = Polygon::make({v(0, 0, z), v(1, 0, z), v(1, 1, z), v(0, 1, z)}, label);
    return down ? p.flipped() : p;
}

Solid soup(std::vector<Polygon> polygons) {
    Solid s;
    s.polygons = std::move(polygons);
    return s;
}

std::vector<std::string> labels(const std::vector<Face>& faces) {
    std::vector<std::string> out;
    out.reserve(faces.size());
    for (const Face& f : faces) out.push_back(f.source->label);
    return out;
}

// The nodes' faces in pre-order (node, front subtree, back subtree), copied.
std::vector<Face> all_faces(const Tree& t) {
    std::vector<Face> out;
    std::vector<std::uint32_t> stack{0};
    while (!stack.empty()) {
        const bsp::TreeNode& n = t.nodes[stack.back()];
        stack.pop_back();
        const std::vector<Face> here = n.faces.list();
        out.insert(out.end(), here.begin(), here.end());
        if (n.back != kNoNode) stack.push_back(n.back);
        if (n.front != kNoNode) stack.push_back(n.front);
    }
    return out;
}

std::size_t depth(const Tree& t) {
    std::size_t best = 0;
    std::vector<std::pair<std::uint32_t, std::size_t>> stack{{0, 1}};
    while (!stack.empty()) {
        auto [n, d] = stack.back();
        stack.pop_back();
        best = std::max(best, d);
        if (t.nodes[n].front != kNoNode) stack.push_back({t.nodes[n].front, d + 1});
        if (t.nodes[n].back != kNoNode) stack.push_back({t.nodes[n].back, d + 1});
    }
    return best;
}

// The plane a face or node reference stands for, negation applied.
Plane plane_of(const Workspace& ws, std::uint32_t ref) {
    const Plane& p = ws.plane(ref);
    return (ref & bsp::kNegated) != 0 ? p.negated() : p;
}

TEST(Tree, BuildSortsByTheFirstPlaneAndReadsOutInPreOrder) {
    std::vector<Polygon> list;
    list.push_back(square_at(0, "up0"));
    list.push_back(square_at(2, "up2"));
    list.push_back(square_at(0, "down0", true));
    list.push_back(square_at(-1, "up-1"));
    // A wall from z = -1 to z = 1: cut in two by the root plane z = 0.
    list.push_back(Polygon::make({v(0, 0, -1), v(1, 0, -1), v(1, 0, 1), v(0, 0, 1)}, "wall"));
    const Solid first = soup(std::move(list));
    Workspace ws;
    Tree t;
    bsp::build(ws, t, ws.load(first));
    const bsp::TreeNode& root = t.nodes[0];
    ASSERT_NE(root.plane, kNoPlane);
    EXPECT_EQ(plane_of(ws, root.plane), square_at(0, "").plane);
    EXPECT_EQ(labels(root.faces.list()), (std::vector<std::string>{"up0", "down0"}));
    ASSERT_TRUE(root.front != kNoNode && root.back != kNoNode);
    EXPECT_EQ(labels(t.nodes[root.front].faces.list()), (std::vector<std::string>{"up2"}));
    EXPECT_EQ(labels(t.nodes[root.back].faces.list()), (std::vector<std::string>{"up-1"}));
    EXPECT_EQ(labels(all_faces(t)), (std::vector<std::string>{"up0", "down0", "up2", "wall", "up-1", "wall"}));

    // A second build pushes faces down the existing planes.
    const Solid more = soup({square_at(3, "up3"), square_at(0, "again0")});
    bsp::build(ws, t, ws.load(more));
    EXPECT_EQ(labels(t.nodes[0].faces.list()), (std::vector<std::string>{"up0", "down0", "again0"}));
    EXPECT_EQ(labels(bsp::take_faces(t)),
              (std::vector<std::string>{"up0", "down0", "again0", "up2", "up3", "wall", "up-1", "wall"}));
    EXPECT_TRUE(all_faces(t).empty());
}

TEST(Tree, EmptyTreeClipsNothingAndZeroPlaneTreeClipsEverything) {
    Workspace ws;
    Tree empty;
    bsp::build(ws, empty, {});
    EXPECT_EQ(empty.nodes[0].plane, kNoPlane);
    const Solid in = soup({square_at(0, "a"), square_at(5, "b")});
    EXPECT_EQ(labels(bsp::clip_faces(ws, empty, ws.load(in))), (std::vector<std::string>{"a", "b"}));

    // An operand scaled flat: every plane is zero, so all faces share the
    // root and anything clipped by it lands behind a leaf.
    const Solid flat = scaled(Solid::cube(1, 1, 1, "f"), 0, 0, 0);
    Tree zero;
    bsp::build(ws, zero, ws.load(flat));
    EXPECT_EQ(zero.nodes[0].faces.size(), 6u);
    EXPECT_EQ(zero.nodes.size(), 1u);
    EXPECT_TRUE(zero.nodes[0].front == kNoNode && zero.nodes[0].back == kNoNode);
    EXPECT_TRUE(bsp::clip_faces(ws, zero, ws.load(in)).empty());
}

TEST(Tree, ClipKeepsWhatLiesOutsideTheSolid) {
    const Solid c = Solid::cube(2, 2, 2, "c");
    const Solid in = soup({
        Polygon::make({v(3, 0, 0), v(4, 0, 0), v(4, 1, 0)}, "outside"),
        Polygon::make({v(0, 0, 0), v(1, 0, 0), v(1, 1, 0)}, "inside"),  // on the bottom, facing in
        // A band through the middle of the cube, sticking out on both sides.
        Polygon::make({v(-1, 1, 0), v(3, 1, 0), v(3, 1, 2), v(-1, 1, 2)}, "band"),
        // On the front face and facing the same way: outside, kept whole.
        Polygon::make({v(0, 0, 0), v(1, 0, 0), v(1, 0, 1)}, "skin"),
    });
    Workspace ws;
    Tree cube;
    bsp::build(ws, cube, ws.load(c));
    const std::vector<Face> out = bsp::clip_faces(ws, cube, ws.load(in));
    // The skin leaves at the front-face node, before the others reach the right face.
    EXPECT_EQ(labels(out), (std::vector<std::string>{"skin", "outside", "band", "band"}));
    const Solid kept = ws.result(out);
    EXPECT_EQ(labels(kept), labels(out));
    Rational area;
    for (const Polygon& p : kept.polygons) area += norm1(p.vector_area2());
    // Twice the areas: the outside triangle 1/2, the skin 1/2, two stubs of 2.
    EXPECT_EQ(area, Rational(1 + 1 + 4 + 4));
}

TEST(Tree, InvertTwiceRestoresTheTree) {
    const Solid c = Solid::cube(2, 3, 5, "c");
    Workspace ws;
    Tree t;
    bsp::build(ws, t, ws.load(c));
    const std::vector<Face> before = all_faces(t);
    const Solid before_solid = ws.result(before);
    const std::uint32_t root_plane = t.nodes[0].plane;
    const bsp::TreeNode root = t.nodes[0];
    bsp::invert(t);
    EXPECT_EQ(plane_of(ws, t.nodes[0].plane), plane_of(ws, root_plane).negated());
    EXPECT_EQ(t.nodes[0].front, root.back);
    EXPECT_EQ(t.nodes[0].back, root.front);
    const Face& flipped = t.nodes[0].faces[0];
    for (std::uint32_t k = 0; k < flipped.count; ++k) {
        EXPECT_EQ(ws.corner(flipped, k), ws.corner(before[0], before[0].count - 1 - k));
    }
    EXPECT_EQ(ws.result({flipped}).polygons[0].vertices(), before_solid.polygons[0].flipped().vertices());
    bsp::invert(t);
    EXPECT_EQ(t.nodes[0].plane, root_plane);
    const std::vector<Face> after = all_faces(t);
    ASSERT_EQ(after.size(), before.size());
    for (std::size_t i = 0; i < after.size(); ++i) {
        EXPECT_EQ(after[i].first, before[i].first);
        EXPECT_EQ(after[i].count, before[i].count);
        EXPECT_EQ(after[i].plane, before[i].plane);
        EXPECT_EQ(after[i].flags, before[i].flags);
        EXPECT_EQ(after[i].box, before[i].box);
    }
    const Solid after_solid = ws.result(after);
    ASSERT_EQ(after_solid.polygons.size(), before_solid.polygons.size());
    for (std::size_t i = 0; i < after_solid.polygons.size(); ++i) {
        EXPECT_EQ(after_solid.polygons[i].vertices(), before_solid.polygons[i].vertices());
        EXPECT_EQ(after_solid.polygons[i].float_vertices(), before_solid.polygons[i].float_vertices());
        EXPECT_EQ(after_solid.polygons[i].plane, before_solid.polygons[i].plane);
    }
}

TEST(Tree, PolygonsOffTheirOwnPlaneCannotMakeBuildRunForever) {
    // Squares whose stored plane lies one unit above their vertices: against
    // their own plane they are wholly behind it.
    std::vector<Polygon> bad;
    for (int k = 0; k < 5; ++k) {
        Polygon sq = square_at(k, "bad" + std::to_string(k));
        sq.plane.offset += 1;
        bad.push_back(std::move(sq));
    }
    bad.push_back(square_at(10, "good"));
    const Solid s = soup(std::move(bad));
    Workspace ws;
    Tree t;
    bsp::build(ws, t, ws.load(s));
    EXPECT_EQ(all_faces(t).size(), 6u);
    EXPECT_LE(depth(t), 6u);
    // The same tree still clips without trouble.
    const Solid probe = soup({square_at(20, "probe")});
    EXPECT_LE(bsp::clip_faces(ws, t, ws.load(probe)).size(), 1u);
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
    std::size_t faces = 0;
};

DeepResult deep_tree_work(const Solid& slabs) {
    DeepResult r;
    Workspace ws;
    Tree t;
    bsp::build(ws, t, ws.load(slabs));
    r.depth = depth(t);
    // A column through every slab, both ways round: clipped by the deep
    // tree, and the deep tree clipped by the column's.
    const Solid column = translated(Solid::cube(1, 1, 1000000, "col"), v(0, 0, -1));
    r.clipped = bsp::clip_faces(ws, t, ws.load(column)).size();
    Tree col;
    bsp::build(ws, col, ws.load(column));
    bsp::clip_to(ws, col, t);
    bsp::clip_to(ws, t, col);
    bsp::invert(t);
    r.faces = bsp::take_faces(t).size() + bsp::take_faces(col).size();
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

TEST(Tree, TreesThousandsDeepAreBuiltWalkedAndFreedWithoutRecursion) {
    const Solid slabs = slab_stack(1000);
    DeepResult main_thread = deep_tree_work(slabs);
    EXPECT_GE(main_thread.depth, 2000u);
    EXPECT_GT(main_thread.clipped, 0u);

    DeepResult small_stack;
    on_small_stack([&] { small_stack = deep_tree_work(slabs); });
    EXPECT_EQ(small_stack.depth, main_thread.depth);
    EXPECT_EQ(small_stack.clipped, main_thread.clipped);
    EXPECT_EQ(small_stack.faces, main_thread.faces);
}

}  // namespace
}  // namespace corv
