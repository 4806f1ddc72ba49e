#include <gtest/gtest.h>

#include "support/random_solids.h"
#include "support/support.h"

#include "bsp/boolean.h"
#include "bsp/room.h"
#include "core/guard.h"
#include "core/measures.h"
#include "core/panic.h"
#include "core/transforms.h"

namespace corv {
namespace {

using test::expect_same_polygons;
using test::labels;
using test::shares_loop;

Vec3 v(int x, int y, int z) { return {x, y, z}; }

std::string volume(const Solid& s) { return volume6(s.polygons).text(); }

TEST(Boolean, DisjointUnionKeepsEveryFaceInTreeOrder) {
    Solid a = Solid::cube(1, 1, 1, "a");
    Solid b = translated(Solid::cube(1, 1, 1, "b"), v(2, 0, 0));
    Solid r = boolean(BooleanOp::union_, a, b);
    // Pre-order of the first operand's tree: each of b's faces joins the
    // node of a's face it is coplanar with, or hangs in front of a.right.
    EXPECT_EQ(labels(r), (std::vector<std::string>{"a.bottom", "b.bottom", "a.top", "b.top", "a.front", "b.front",
                                                   "a.back", "b.back", "a.right", "b.right", "b.left", "a.left"}));
    for (const Polygon& p : r.polygons) {
        const Solid& src = p.label[0] == 'a' ? a : b;
        const auto it = std::find_if(src.polygons.begin(), src.polygons.end(),
                                     [&](const Polygon& q) { return q.label == p.label; });
        ASSERT_NE(it, src.polygons.end());
        EXPECT_EQ(p.vertices(), it->vertices());
    }
    EXPECT_EQ(labels(boolean(BooleanOp::cut, a, b)), labels(a));
    EXPECT_TRUE(boolean(BooleanOp::intersect, a, b).polygons.empty());
}

TEST(Boolean, IdenticalAndEmptyOperands) {
    Solid a = Solid::cube(1, 1, 1, "a");
    Solid b = Solid::cube(1, 1, 1, "b");
    EXPECT_EQ(labels(boolean(BooleanOp::union_, a, b)), labels(a));
    EXPECT_EQ(labels(boolean(BooleanOp::intersect, a, b)), labels(a));
    EXPECT_TRUE(boolean(BooleanOp::cut, a, b).polygons.empty());

    const Solid none;
    EXPECT_EQ(labels(boolean(BooleanOp::union_, a, none)), labels(a));
    EXPECT_EQ(labels(boolean(BooleanOp::union_, none, a)), labels(a));
    EXPECT_EQ(labels(boolean(BooleanOp::intersect, a, none)), labels(a));
    EXPECT_EQ(labels(boolean(BooleanOp::intersect, none, a)), labels(a));
    EXPECT_EQ(labels(boolean(BooleanOp::cut, a, none)), labels(a));
    Solid flipped = boolean(BooleanOp::cut, none, a);
    EXPECT_EQ(volume(flipped), "-6/1");
    ASSERT_EQ(flipped.polygons.size(), 6u);
    EXPECT_EQ(flipped.polygons[0].vertices(), a.polygons[0].flipped().vertices());
    EXPECT_TRUE(boolean(BooleanOp::cut, none, none).polygons.empty());
    // Unknown ops fail even with nothing to combine; the operands are untouched.
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
    EXPECT_TRUE(boolean(BooleanOp::union_, a, flat).polygons.empty());
    EXPECT_TRUE(boolean(BooleanOp::union_, flat, a).polygons.empty());
    EXPECT_TRUE(boolean(BooleanOp::intersect, a, flat).polygons.empty());
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
    EXPECT_EQ(volume(boolean(BooleanOp::cut, column, slabs)), std::to_string(6 * n) + "/1");
    EXPECT_EQ(volume(boolean(BooleanOp::intersect, column, slabs)), std::to_string(6 * n) + "/1");
}

// A Boolean's result shares the loops of the operand polygons it keeps whole
// and facing their own way; every other polygon has a loop of its own.
TEST(Boolean, ResultSharesTheLoopsOfWholeOperandFaces) {
    const Solid a = Solid::cube(4, 4, 1, "a");
    const Solid b = translated(Solid::cube(1, 1, 3, "b"), {1, 1, -1});
    const Solid r = boolean(BooleanOp::cut, a, b);
    std::size_t shared = 0;
    for (const Polygon& p : r.polygons) {
        for (const Polygon& q : a.polygons) {
            if (!shares_loop(p, q)) continue;
            ++shared;
            EXPECT_EQ(p.vertices(), q.vertices());
            EXPECT_EQ(p.plane, q.plane);
            EXPECT_EQ(p.label, q.label);
        }
        for (const Polygon& q : b.polygons) EXPECT_FALSE(shares_loop(p, q));  // b's faces come out flipped
    }
    EXPECT_GT(shared, 0u);
    EXPECT_LT(shared, a.polygons.size());  // the faces the hole's planes cut are new

    // Apart, every face of both comes out whole and facing its own way.
    const Solid far = translated(Solid::cube(1, 1, 1, "f"), {9, 9, 9});
    const Solid u = boolean(BooleanOp::union_, a, far);
    ASSERT_EQ(u.polygons.size(), 12u);
    for (const Polygon& p : u.polygons) {
        bool found = false;
        for (const Solid* s : {&a, &far}) {
            for (const Polygon& q : s->polygons) found = found || shares_loop(p, q);
        }
        EXPECT_TRUE(found) << p.label;
    }
}

// A room carries points, planes, trees and lists from one Boolean to the
// next: large Booleans before small ones, every operation, operands of
// other sizes and kinds, and a Boolean that failed half-way must leave
// nothing that changes a later result.
TEST(Boolean, ARoomSharedByAChainGivesWhatAFreshOneGives) {
    bsp::Room room;
    testing_random::Rng r{7};
    Solid grown = testing_random::operand(r, "g");
    const BooleanOp ops[3] = {BooleanOp::union_, BooleanOp::cut, BooleanOp::intersect};
    for (int i = 0; i < 150; ++i) {
        const BooleanOp op = ops[r.below(3)];
        const Solid a = testing_random::operand(r, "a");
        const Solid b = r.below(4) == 0 ? grown : testing_random::operand(r, "b");
        const std::string what = "step " + std::to_string(i);
        expect_same_polygons(boolean(op, a, b, room), boolean(op, a, b), what);
        Solid next = boolean(BooleanOp::union_, grown, a, room);
        expect_same_polygons(next, boolean(BooleanOp::union_, grown, a), what + " (grown)");
        if (next.polygons.size() < 400) grown = std::move(next);
    }
    // An interrupted Boolean leaves the room part-filled; the next one starts clean.
    const Solid c = Solid::cube(2, 2, 2, "c");
    {
        guard::Watch stop;
        stop.check = [](void*, const char*, std::uint64_t, std::uint64_t) { return false; };
        guard::Scope scope(stop);
        stop.credit = 0;  // the first poll looks, and the check is due at once
        stop.next_check = {};
        EXPECT_THROW((void)boolean(BooleanOp::cut, grown, c, room), guard::Interrupted);
    }
    const Solid y = Solid::cube(1, 1, 1, "y");
    expect_same_polygons(boolean(BooleanOp::cut, c, y, room), boolean(BooleanOp::cut, c, y), "after an interrupt");
}

}  // namespace
}  // namespace corv
