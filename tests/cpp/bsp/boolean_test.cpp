#include <gtest/gtest.h>

#include "support/support.h"

#include "bsp/boolean.h"
#include "bsp/box_entry.h"
#include "core/measures.h"
#include "core/panic.h"
#include "core/transforms.h"

namespace corv {
namespace {

using test::labels;

Vec3 v(int x, int y, int z) { return {x, y, z}; }

std::string volume(const Solid& s) { return volume6(s.polygons).text(); }

std::string panic_text(const std::function<void()>& f) {
    try {
        f();
    } catch (const Panic& e) {
        return e.what();
    }
    return "(no panic)";
}

TEST(BoxBoolean, OverlappingAndFarApartBoxes) {
    auto run = [](const char* t, const char* op) { return box_boolean("2", "2", "2", "2", "2", "2", t, "1", "1", op); };
    EXPECT_EQ(run("1", "union").first, "90/1");
    EXPECT_EQ(run("1", "cut").first, "42/1");
    EXPECT_EQ(run("1", "intersect").first, "6/1");
    auto far = [](const char* op) { return box_boolean("2", "2", "2", "2", "2", "2", "10", "0", "0", op).first; };
    EXPECT_EQ(far("union"), "96/1");
    EXPECT_EQ(far("cut"), "48/1");
    EXPECT_EQ(far("intersect"), "0/1");

    // The overlap is the unit box [1,2]^3, faces from both operands.
    auto [vol, canon] = run("1", "intersect");
    EXPECT_EQ(canon, canonical(translated(Solid::cube(1, 1, 1, "x"), v(1, 1, 1)).polygons));
    // box_form describes the box itself.
    EXPECT_EQ(box_form("1", "2", "3").first, "36/1");
    EXPECT_EQ(box_form("1/2", "1", "1").first, "3/1");
    EXPECT_EQ(box_form("1", "1", "1").second, canonical(Solid::cube(1, 1, 1, "box").polygons));
}

TEST(BoxBoolean, BadOpAndBadNumbersPanic) {
    for (const char* op : {"Union", "", "CUT", "intersect "}) {
        EXPECT_EQ(panic_text([&] { box_boolean("1", "1", "1", "1", "1", "1", "0", "0", "0", op); }), "unknown op");
    }
    EXPECT_NE(panic_text([] { box_boolean("1.5", "1", "1", "1", "1", "1", "0", "0", "0", "union"); }), "(no panic)");
    EXPECT_NE(panic_text([] { box_form("1", "1/0", "1"); }), "(no panic)");
}

TEST(Boolean, DisjointUnionKeepsEveryFaceInTreeOrder) {
    Solid a = Solid::cube(1, 1, 1, "a");
    Solid b = translated(Solid::cube(1, 1, 1, "b"), v(2, 0, 0));
    Solid r = boolean_impl("union", a, b);
    // Pre-order of the first operand's tree: each of b's faces joins the
    // node of a's face it is coplanar with, or hangs in front of a.right.
    EXPECT_EQ(labels(r), (std::vector<std::string>{"a.bottom", "b.bottom", "a.top", "b.top", "a.front", "b.front",
                                                   "a.back", "b.back", "a.right", "b.right", "b.left", "a.left"}));
    for (const Polygon& p : r.polygons) {
        const Solid& src = p.label[0] == 'a' ? a : b;
        const auto it = std::find_if(src.polygons.begin(), src.polygons.end(),
                                     [&](const Polygon& q) { return q.label == p.label; });
        ASSERT_NE(it, src.polygons.end());
        EXPECT_EQ(p.vertices, it->vertices);
    }
    EXPECT_EQ(labels(boolean_impl("cut", a, b)), labels(a));
    EXPECT_TRUE(boolean_impl("intersect", a, b).polygons.empty());
}

TEST(Boolean, IdenticalAndEmptyOperands) {
    Solid a = Solid::cube(1, 1, 1, "a");
    Solid b = Solid::cube(1, 1, 1, "b");
    EXPECT_EQ(labels(boolean_impl("union", a, b)), labels(a));
    EXPECT_EQ(labels(boolean_impl("intersect", a, b)), labels(a));
    EXPECT_TRUE(boolean_impl("cut", a, b).polygons.empty());

    const Solid none;
    EXPECT_EQ(labels(boolean_impl("union", a, none)), labels(a));
    EXPECT_EQ(labels(boolean_impl("union", none, a)), labels(a));
    EXPECT_EQ(labels(boolean_impl("intersect", a, none)), labels(a));
    EXPECT_EQ(labels(boolean_impl("intersect", none, a)), labels(a));
    EXPECT_EQ(labels(boolean_impl("cut", a, none)), labels(a));
    Solid flipped = boolean_impl("cut", none, a);
    EXPECT_EQ(volume(flipped), "-6/1");
    ASSERT_EQ(flipped.polygons.size(), 6u);
    EXPECT_EQ(flipped.polygons[0].vertices, a.polygons[0].flipped().vertices);
    EXPECT_TRUE(boolean_impl("cut", none, none).polygons.empty());
    // Unknown ops fail even with nothing to combine; the operands are untouched.
    EXPECT_EQ(panic_text([&] { boolean_impl("Union", a, none); }), "unknown op");
    EXPECT_EQ(labels(a), (std::vector<std::string>{"a.bottom", "a.top", "a.front", "a.back", "a.right", "a.left"}));
}

TEST(Boolean, ZeroPlaneOperandSwallowsWhatItClips) {
    // Scaled flat, every face has the zero plane: one node holding all of
    // them, and clipping by it sends everything behind a leaf.
    Solid flat = scaled(translated(Solid::cube(1, 1, 1, "z"), v(5, 5, 5)), 0, 0, 0);
    ASSERT_EQ(flat.polygons.size(), 6u);
    Solid a = Solid::cube(1, 1, 1, "a");
    // a is clipped away entirely and the flat faces stay (they are
    // degenerate, so the result drops them too).
    EXPECT_TRUE(boolean_impl("union", a, flat).polygons.empty());
    EXPECT_TRUE(boolean_impl("union", flat, a).polygons.empty());
    EXPECT_TRUE(boolean_impl("intersect", a, flat).polygons.empty());
}

TEST(Boolean, CutThroughManyThinSlabs) {
    // A column [0,1]^2 x [0,2N] cut by N slabs [2k, 2k+1] given as one soup:
    // N unit gaps remain, and the trees involved are thousands of nodes deep.
    const int n = 800;
    Solid slabs;
    for (int k = 0; k < n; ++k) {
        for (Polygon& p : translated(Solid::cube(1, 1, 1, "s"), v(0, 0, 2 * k)).polygons) {
            slabs.polygons.push_back(std::move(p));
        }
    }
    Solid column = Solid::cube(1, 1, 2 * n, "c");
    EXPECT_EQ(volume(boolean_impl("cut", column, slabs)), std::to_string(6 * n) + "/1");
    EXPECT_EQ(volume(boolean_impl("intersect", column, slabs)), std::to_string(6 * n) + "/1");
}

}  // namespace
}  // namespace corv
