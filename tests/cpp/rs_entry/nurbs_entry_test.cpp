#include <gtest/gtest.h>

#include "support/support.h"

#include <cstdint>
#include <limits>
#include <optional>
#include <string>

#include "core/panic.h"
#include "rs_entry/nurbs_entry.h"

using corv::Panic;
using corv::rs_entry::nurbs_curve_eval;
using corv::rs_entry::nurbs_surface_eval;
using corv::rs_entry::TextNet;
using corv::rs_entry::TextRows;
using corv::rs_entry::Texts;

namespace {

const TextRows kLine = {{"0", "0", "0"}, {"1", "2", "3"}};
const Texts kLineKnots = {"0", "0", "1", "1"};

std::string joined(const Texts& t) {
    std::string out;
    for (const std::string& s : t) out += s + " ";
    return out;
}

}  // namespace

TEST(NurbsCurve, WeightedAndPlainLine) {
    EXPECT_EQ(joined(nurbs_curve_eval(1, kLine, kLineKnots, "1/2", Texts{"1", "2"})), "2/3 4/3 2/1 ");
    EXPECT_EQ(joined(nurbs_curve_eval(1, kLine, kLineKnots, "1/2", std::nullopt)), "1/2 1/1 3/2 ");
    // Clamped end: the last control point exactly.
    EXPECT_EQ(joined(nurbs_curve_eval(1, kLine, kLineKnots, "1", Texts{"3", "7"})), "1/1 2/1 3/1 ");
    // Results are reduced.
    EXPECT_EQ(joined(nurbs_curve_eval(0, {{"2/4", "0", "0"}}, {"0", "1"}, "0", std::nullopt)), "1/2 0/1 0/1 ");
}

TEST(NurbsCurve, QuarterCircleIsExact) {
    // ((1 - t^2), 2t) / (1 + t^2) as a rational quadratic: every rational t
    // gives a point of the unit circle.
    TextRows cps = {{"1", "0", "0"}, {"1", "1", "0"}, {"0", "1", "0"}};
    Texts w = {"1", "1", "2"};
    Texts knots = {"0", "0", "0", "1", "1", "1"};
    EXPECT_EQ(joined(nurbs_curve_eval(2, cps, knots, "1/2", w)), "3/5 4/5 0/1 ");
    EXPECT_EQ(joined(nurbs_curve_eval(2, cps, knots, "2/3", w)), "5/13 12/13 0/1 ");
}

TEST(NurbsCurve, WeightsPairWithTheShorterList) {
    // Surplus weights are ignored, even malformed ones are parsed first and fail.
    EXPECT_EQ(joined(nurbs_curve_eval(1, kLine, kLineKnots, "1/2", Texts{"1", "2", "5"})), "2/3 4/3 2/1 ");
    EXPECT_PANIC_KIND(nurbs_curve_eval(1, kLine, kLineKnots, "1/2", Texts{"1", "2", "x"}), corv::PanicKind::parse);
    // Fewer weights drop the trailing control points (and their bad texts).
    TextRows three = {{"0", "0", "0"}, {"1", "2", "3"}, {"bad", "0", "0"}};
    EXPECT_EQ(joined(nurbs_curve_eval(1, three, kLineKnots, "1/2", Texts{"1", "2"})), "2/3 4/3 2/1 ");
    EXPECT_PANIC_KIND(nurbs_curve_eval(1, three, kLineKnots, "1/2", Texts{"1"}), corv::PanicKind::index);
}

TEST(NurbsCurve, Failures) {
    // Blended weight zero.
    EXPECT_PANIC_KIND(nurbs_curve_eval(1, kLine, kLineKnots, "1/2", Texts{"1", "-1"}),
                      corv::PanicKind::division_by_zero);
    // Malformed texts anywhere that is read.
    EXPECT_PANIC_KIND(nurbs_curve_eval(1, kLine, {"0", "0", "1", "1/0"}, "1/2", std::nullopt),
                      corv::PanicKind::zero_denominator);
    EXPECT_PANIC_KIND(nurbs_curve_eval(1, kLine, kLineKnots, "1.5", std::nullopt), corv::PanicKind::parse);
    EXPECT_PANIC_KIND(nurbs_curve_eval(1, {{"0", "0", "0"}, {"1", "x", "3"}}, kLineKnots, "1/2", std::nullopt),
                      corv::PanicKind::parse);
    // No points, too few points for the degree, too few knots.
    EXPECT_PANIC_KIND(nurbs_curve_eval(1, {}, kLineKnots, "1/2", std::nullopt), corv::PanicKind::index);
    EXPECT_PANIC_KIND(nurbs_curve_eval(2, kLine, kLineKnots, "1/2", std::nullopt), corv::PanicKind::index);
    EXPECT_PANIC_KIND(nurbs_curve_eval(1, kLine, {"0", "0"}, "1/2", std::nullopt), corv::PanicKind::index);
    const std::uint64_t huge = std::numeric_limits<std::uint64_t>::max();
    EXPECT_PANIC_KIND(nurbs_curve_eval(huge, kLine, kLineKnots, "1/2", std::nullopt), corv::PanicKind::index);
    // Too few coordinates: in the first point, or in a blended one.
    EXPECT_PANIC_KIND(nurbs_curve_eval(1, {{"0", "0"}, {"1", "2"}}, kLineKnots, "1/2", std::nullopt),
                      corv::PanicKind::index);
    EXPECT_PANIC_KIND(nurbs_curve_eval(1, {{"0", "0", "0"}, {"1", "2"}}, kLineKnots, "1/2", std::nullopt),
                      corv::PanicKind::index);
    EXPECT_PANIC_KIND(nurbs_curve_eval(0, {{"0", "0"}}, {"0", "1"}, "0", std::nullopt), corv::PanicKind::index);
    // More than three coordinates would put a coordinate in the weight's place.
    EXPECT_PANIC_KIND(
        nurbs_curve_eval(1, {{"0", "0", "0", "5"}, {"1", "2", "3", "5"}}, kLineKnots, "1/2", std::nullopt),
        corv::PanicKind::bad_shape);
    EXPECT_PANIC_KIND(nurbs_curve_eval(1, {{"0", "0", "0"}, {"1", "2", "3", "5"}}, kLineKnots, "1/2", std::nullopt),
                      corv::PanicKind::bad_shape);
}

namespace {

// A bilinear patch over the unit square with z = x * y, rows along u.
const TextNet kSaddle = {{{"0", "0", "0"}, {"0", "1", "0"}}, {{"1", "0", "0"}, {"1", "1", "1"}}};

}  // namespace

TEST(NurbsSurface, BilinearAndWeighted) {
    EXPECT_EQ(joined(nurbs_surface_eval(1, 1, kSaddle, kLineKnots, kLineKnots, "1/2", "1/3", std::nullopt)),
              "1/2 1/3 1/6 ");
    // Weights 1 everywhere but 3 at the far corner pull the centre towards it.
    TextRows w = {{"1", "1"}, {"1", "3"}};
    EXPECT_EQ(joined(nurbs_surface_eval(1, 1, kSaddle, kLineKnots, kLineKnots, "1/2", "1/2", w)), "2/3 2/3 1/2 ");
    // Surplus weight rows and entries are ignored.
    TextRows wide = {{"1", "1", "9"}, {"1", "3", "bad"}, {"oops"}};
    EXPECT_EQ(joined(nurbs_surface_eval(1, 1, kSaddle, kLineKnots, kLineKnots, "1/2", "1/2", wide)), "2/3 2/3 1/2 ");
}

TEST(NurbsSurface, DegreeZeroReturnsTheSelectedPoint) {
    TextNet net = {{{"1", "2", "3"}, {"4", "5", "6"}}, {{"7", "8", "9"}, {"10/4", "11", "12"}}};
    TextRows w = {{"1", "2"}, {"3", "-5"}};
    Texts k = {"0", "1", "2"};
    EXPECT_EQ(joined(nurbs_surface_eval(0, 0, net, k, k, "1", "3/2", w)), "5/2 11/1 12/1 ");
    EXPECT_EQ(joined(nurbs_surface_eval(0, 0, net, k, k, "0", "1", w)), "4/1 5/1 6/1 ");
}

TEST(NurbsSurface, EveryRowIsEvaluated) {
    // Rows of different lengths each use their own point count; a row that the
    // u span does not need still has to evaluate.
    TextNet ragged = {{{"0", "0", "0"}, {"0", "1", "0"}}, {{"1", "0", "0"}, {"1", "1", "1"}, {"1", "2", "2"}}};
    EXPECT_EQ(joined(nurbs_surface_eval(1, 1, ragged, kLineKnots, {"0", "0", "1", "2"}, "1/2", "1/2", std::nullopt)),
              "1/2 1/2 1/4 ");
    TextNet unused_bad = {{{"0", "0", "0"}, {"0", "1", "0"}}, {{"1", "0", "0"}, {"1", "1", "1"}}, {{"2", "0", "0"}}};
    EXPECT_PANIC_KIND(nurbs_surface_eval(0, 1, unused_bad, {"0", "1", "2", "3"}, kLineKnots, "0", "1/2", std::nullopt),
                      corv::PanicKind::index);
    // Rows outside the u span are not blended but must still be sound.
    const TextRows row0 = {{"0", "0", "0"}, {"0", "1", "0"}};
    const TextRows row1 = {{"1", "0", "0"}, {"1", "1", "1"}};
    const Texts ku = {"0", "0", "1", "2", "2"};
    EXPECT_PANIC_KIND(nurbs_surface_eval(1, 1, {row0, row1, {{"2", "0", "0"}, {"2", "1"}}}, ku, kLineKnots, "1/2",
                                         "1/2", std::nullopt),
                      corv::PanicKind::index);
    EXPECT_PANIC_KIND(nurbs_surface_eval(1, 1, {row0, row1, {{"2", "0", "0"}, {"2", "1", "?"}}}, ku, kLineKnots, "1/2",
                                         "1/2", std::nullopt),
                      corv::PanicKind::parse);
    EXPECT_EQ(joined(nurbs_surface_eval(1, 1, {row0, row1, {{"2", "0", "0"}, {"2", "1", "5"}}}, ku, kLineKnots, "1/2",
                                        "1/2", std::nullopt)),
              "1/2 1/2 1/4 ");
}

TEST(NurbsSurface, Failures) {
    TextRows short_rows = {{"1", "1"}};
    EXPECT_PANIC_KIND(nurbs_surface_eval(1, 1, kSaddle, kLineKnots, kLineKnots, "1/2", "1/2", short_rows),
                      corv::PanicKind::index);
    TextRows short_entry = {{"1", "1"}, {"1"}};
    EXPECT_PANIC_KIND(nurbs_surface_eval(1, 1, kSaddle, kLineKnots, kLineKnots, "1/2", "1/2", short_entry),
                      corv::PanicKind::index);
    TextRows cancelling = {{"1", "1"}, {"-1", "-1"}};
    EXPECT_PANIC_KIND(nurbs_surface_eval(1, 1, kSaddle, kLineKnots, kLineKnots, "1/2", "1/2", cancelling),
                      corv::PanicKind::division_by_zero);
    EXPECT_PANIC_KIND(nurbs_surface_eval(1, 1, {}, kLineKnots, kLineKnots, "1/2", "1/2", std::nullopt),
                      corv::PanicKind::index);
    EXPECT_PANIC_KIND(nurbs_surface_eval(1, 1, {{}, {}}, kLineKnots, kLineKnots, "1/2", "1/2", std::nullopt),
                      corv::PanicKind::index);
    const std::uint64_t huge = std::numeric_limits<std::uint64_t>::max();
    EXPECT_PANIC_KIND(nurbs_surface_eval(huge, 1, kSaddle, kLineKnots, kLineKnots, "1/2", "1/2", std::nullopt),
                      corv::PanicKind::index);
    EXPECT_PANIC_KIND(nurbs_surface_eval(1, huge, kSaddle, kLineKnots, kLineKnots, "1/2", "1/2", std::nullopt),
                      corv::PanicKind::index);
    EXPECT_PANIC_KIND(nurbs_surface_eval(1, 1, kSaddle, kLineKnots, kLineKnots, "u", "1/2", std::nullopt),
                      corv::PanicKind::parse);
    TextNet four = {{{"0", "0", "0", "1"}, {"0", "1", "0", "1"}}, {{"1", "0", "0", "1"}, {"1", "1", "1", "1"}}};
    EXPECT_PANIC_KIND(nurbs_surface_eval(1, 1, four, kLineKnots, kLineKnots, "1/2", "1/2", std::nullopt),
                      corv::PanicKind::bad_shape);
}
