#include "rs_entry/box_entry.h"

#include <gtest/gtest.h>

#include "core/measures.h"
#include "core/panic.h"
#include "core/transforms.h"
#include "rs_entry/boolean_op.h"
#include "rs_entry/solid_entry.h"
#include "support/support.h"

namespace corv::rs_entry {
namespace {

using test::panic_text;

Vec3 v(int x, int y, int z) { return {x, y, z}; }

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
    EXPECT_EQ(panic_text([] { boolean("Union", make_box("1", "1", "1", "a"), nullptr, Solid{}, nullptr); }),
              "unknown op");
}

TEST(BooleanOpText, EachNameAndNothingElse) {
    EXPECT_EQ(parse_boolean_op("union"), BooleanOp::union_);
    EXPECT_EQ(parse_boolean_op("cut"), BooleanOp::cut);
    EXPECT_EQ(parse_boolean_op("intersect"), BooleanOp::intersect);
    for (const char* op : {"Union", "", "unio", "cut ", "difference"}) {
        EXPECT_PANIC_KIND(parse_boolean_op(op), PanicKind::unknown_op) << op;
    }
    EXPECT_PANIC_KIND(parse_boolean_op(std::string_view("union\0", 6)), PanicKind::unknown_op);
}

// A malformed number is reported before a bad op, wherever it stands.
TEST(BoxBoolean, NumbersAreReadBeforeTheOp) {
    EXPECT_PANIC_KIND(box_boolean("1", "1", "1", "1", "1", "1", "0", "0", "x", "nope"), PanicKind::parse);
    EXPECT_PANIC_KIND(box_boolean("1", "1", "1", "1", "1/0", "1", "0", "0", "0", "nope"), PanicKind::zero_denominator);
    EXPECT_PANIC_KIND(box_boolean("1", "1", "1", "1", "1", "1", "0", "0", "0", "nope"), PanicKind::unknown_op);
    const Solid a = make_box("1", "1", "1", "a");
    EXPECT_PANIC_KIND(boolean("nope", a, nullptr, a, nullptr), PanicKind::unknown_op);
    EXPECT_EQ(boolean("cut", a, nullptr, a, nullptr).solid.polygons.size(), 0u);
}

TEST(SolidEntry, NumbersAreReadInArgumentOrder) {
    // The first bad text decides the failure: a parse failure before a zero
    // denominator when it comes first, and the other way round.
    EXPECT_PANIC_KIND(make_box("x", "1/0", "1", "p"), PanicKind::parse);
    EXPECT_PANIC_KIND(make_box("1/0", "x", "1", "p"), PanicKind::zero_denominator);
    const Solid a = make_box("1", "2", "3", "a");
    EXPECT_PANIC_KIND(translate(a, "0", "x", "1/0"), PanicKind::parse);
    EXPECT_PANIC_KIND(scale(a, "1/0", "x", "1"), PanicKind::zero_denominator);
    EXPECT_PANIC_KIND(chamfer(a, "1/0"), PanicKind::zero_denominator);
    EXPECT_PANIC_KIND(make_prismatoid({"0", "0", "1", "0", "0", "1"}, "x", {"0"}, "1/0", "p"), PanicKind::parse);
    EXPECT_PANIC_KIND(make_prismatoid({"0", "0", "1", "0", "0", "1"}, "0", {"0", "y"}, "1/0", "p"), PanicKind::parse);
    // Only after every number is read does the shape check run.
    EXPECT_PANIC_KIND(make_prismatoid({"0", "0", "1", "0", "0", "1"}, "0", {}, "1/0", "p"),
                      PanicKind::zero_denominator);
    EXPECT_EQ(volume6(translate(a, "1/2", "-1", "7").polygons), Rational(36));
    EXPECT_EQ(volume6(scale(a, "2", "1/2", "-1").polygons), Rational(36));  // mirrored, faces turned back out
}

}  // namespace
}  // namespace corv::rs_entry
