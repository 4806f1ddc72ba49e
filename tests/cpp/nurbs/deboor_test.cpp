#include <gtest/gtest.h>

#include "support/support.h"

#include <cstdint>
#include <limits>
#include <string>
#include <vector>

#include "core/panic.h"
#include "core/rational.h"
#include "nurbs/deboor.h"
#include "rs_entry/number_text.h"

using corv::deboor_h;
using corv::deboor_span;
using corv::HPoint;
using corv::Panic;
using corv::Rational;
using corv::rs_entry::parse_r;

namespace {

std::vector<Rational> rs(std::initializer_list<const char*> texts) {
    std::vector<Rational> out;
    for (const char* s : texts) out.push_back(parse_r(s));
    return out;
}

std::string texts(const HPoint& p) {
    std::string out;
    for (const Rational& r : p) out += r.text() + " ";
    return out;
}

// Scalar control points 0, 1, 2, ... so that a degree-0 result names its span.
std::vector<HPoint> numbered(std::size_t n) {
    std::vector<HPoint> pts;
    for (std::size_t i = 0; i < n; ++i) pts.push_back({Rational(static_cast<std::int64_t>(i))});
    return pts;
}

}  // namespace

TEST(DeBoor, LinearHomogeneousBlend) {
    std::vector<HPoint> pts = {rs({"0", "0", "0", "1"}), rs({"2", "4", "6", "2"})};
    EXPECT_EQ(texts(deboor_h(1, rs({"0", "0", "1", "1"}), pts, parse_r("1/2"))), "1/1 2/1 3/1 3/2 ");
}

TEST(DeBoor, BezierSegmentsMatchBernsteinForm) {
    // Quadratic 0, 1, 0 at 1/2: 2 t (1 - t) = 1/2.
    std::vector<HPoint> arch = {{0}, {1}, {0}};
    EXPECT_EQ(texts(deboor_h(2, rs({"0", "0", "0", "1", "1", "1"}), arch, parse_r("1/2"))), "1/2 ");
    // Cubic 1, 0, 0, 8 at 1/3: (2/3)^3 + 8 (1/3)^3 = 16/27.
    std::vector<HPoint> cubic = {{1}, {0}, {0}, {8}};
    EXPECT_EQ(texts(deboor_h(3, rs({"0", "0", "0", "0", "1", "1", "1", "1"}), cubic, parse_r("1/3"))), "16/27 ");
    // Clamped ends give the end points exactly; the last knot may be left out.
    auto knots = rs({"0", "0", "0", "0", "1", "1", "1"});
    EXPECT_EQ(texts(deboor_h(3, knots, cubic, parse_r("0"))), "1/1 ");
    EXPECT_EQ(texts(deboor_h(3, knots, cubic, parse_r("1"))), "8/1 ");
}

TEST(DeBoor, DegreeZeroPicksOnePoint) {
    auto knots = rs({"0", "1", "2", "3", "4"});
    auto pts = numbered(4);
    EXPECT_EQ(texts(deboor_h(0, knots, pts, parse_r("-5"))), "0/1 ");
    EXPECT_EQ(texts(deboor_h(0, knots, pts, parse_r("0"))), "0/1 ");
    EXPECT_EQ(texts(deboor_h(0, knots, pts, parse_r("3/2"))), "1/1 ");
    EXPECT_EQ(texts(deboor_h(0, knots, pts, parse_r("2"))), "2/1 ");
    EXPECT_EQ(texts(deboor_h(0, knots, pts, parse_r("4"))), "3/1 ");
    EXPECT_EQ(texts(deboor_h(0, knots, pts, parse_r("9"))), "3/1 ");
    EXPECT_EQ(texts(deboor_h(0, rs({"0", "1"}), numbered(1), parse_r("1/2"))), "0/1 ");
    // The selected point is copied with its own length.
    std::vector<HPoint> ragged = {{1}, {2, 3, 4}};
    EXPECT_EQ(texts(deboor_h(0, knots, ragged, parse_r("3/2"))), "2/1 3/1 4/1 ");
}

TEST(DeBoor, SpanSelection) {
    // Degree 1 over 7 points, interior knot 2 of multiplicity 3 at indices 3..5.
    auto knots = rs({"0", "0", "1", "2", "2", "2", "3", "4", "4"});
    EXPECT_EQ(deboor_span(1, knots, 7, parse_r("2")), 5u);
    EXPECT_EQ(deboor_span(1, knots, 7, parse_r("19/10")), 2u);
    EXPECT_EQ(deboor_span(1, knots, 7, parse_r("5/2")), 5u);
    EXPECT_EQ(deboor_span(1, knots, 7, parse_r("3")), 6u);
    EXPECT_EQ(deboor_span(1, knots, 7, parse_r("1")), 2u);
    EXPECT_EQ(deboor_span(1, knots, 7, parse_r("1/2")), 1u);
    EXPECT_EQ(deboor_span(1, knots, 7, parse_r("-3")), 1u);
    EXPECT_EQ(deboor_span(1, knots, 7, parse_r("4")), 6u);
    EXPECT_EQ(deboor_span(1, knots, 7, parse_r("100")), 6u);
    // t equal to knots[p] stays in the first span even when knots[p + 1] is equal.
    auto flat = rs({"0", "0", "0", "1", "2", "2"});
    EXPECT_EQ(deboor_span(1, flat, 4, parse_r("0")), 1u);
    // A single segment (n = p + 1) is never searched.
    EXPECT_EQ(deboor_span(2, rs({"0", "0", "0", "1", "1", "1"}), 3, parse_r("1/2")), 2u);
    // Every span of a long uniform vector is found by the bisection.
    std::vector<Rational> uniform;
    for (std::int64_t i = 0; i <= 40; ++i) uniform.push_back(Rational(i));
    for (std::int64_t i = 3; i < 37; ++i) {
        EXPECT_EQ(deboor_span(3, uniform, 37, Rational(i)), static_cast<std::size_t>(i));
        EXPECT_EQ(deboor_span(3, uniform, 37, Rational(i) + parse_r("1/2")), static_cast<std::size_t>(i));
    }
}

TEST(DeBoor, InteriorKnotOfFullMultiplicityInterpolates) {
    // Quadratic with knot 1 repeated twice: the curve passes through point 2.
    auto knots = rs({"0", "0", "0", "1", "1", "2", "2", "2"});
    std::vector<HPoint> pts = {{0, 0}, {1, 5}, {7, 3}, {2, 2}, {4, 4}};
    EXPECT_EQ(texts(deboor_h(2, knots, pts, parse_r("1"))), "7/1 3/1 ");
    // Just left of the knot, the left piece: for span 2 at t = 1/2 the
    // quadratic Bezier 0, 1, 7 gives 1/4*0 + 1/2*1 + 1/4*7 = 9/4.
    EXPECT_EQ(texts(deboor_h(2, knots, pts, parse_r("1/2"))).substr(0, 4), "9/4 ");
}

TEST(DeBoor, ZeroLengthIntervalsBlendWithZero) {
    // A zero-length selected span: the step blends nothing in, so the left
    // point comes back instead of an extension or a division by zero.
    auto knots = rs({"1", "1", "1", "1"});
    std::vector<HPoint> pts = {{3}, {5}};
    EXPECT_EQ(texts(deboor_h(1, knots, pts, parse_r("0"))), "3/1 ");
    EXPECT_EQ(texts(deboor_h(1, knots, pts, parse_r("1"))), "3/1 ");
    // t at knots[p] keeps k = p although knots[p + 1] is equal.
    std::vector<HPoint> three = {{3}, {5}, {7}};
    EXPECT_EQ(texts(deboor_h(1, rs({"0", "0", "0", "1"}), three, parse_r("0"))), "3/1 ");
    EXPECT_EQ(texts(deboor_h(1, rs({"0", "0", "0", "1"}), three, parse_r("-1"))), "3/1 ");
    EXPECT_EQ(texts(deboor_h(1, rs({"0", "0", "0", "1"}), three, parse_r("1/2"))), "6/1 ");
}

TEST(DeBoor, ExtendsBeyondTheRange) {
    std::vector<HPoint> pts = {{0}, {2}};
    auto knots = rs({"0", "0", "1", "1"});
    EXPECT_EQ(texts(deboor_h(1, knots, pts, parse_r("3"))), "6/1 ");
    EXPECT_EQ(texts(deboor_h(1, knots, pts, parse_r("-1/2"))), "-1/1 ");
}

TEST(DeBoor, WorkingDimensionComesFromTheFirstPoint) {
    auto knots = rs({"0", "0", "1", "1"});
    std::vector<HPoint> longer = {{1, 1}, {3, 3, 99}};
    EXPECT_EQ(texts(deboor_h(1, knots, longer, parse_r("1/2"))), "2/1 2/1 ");
    EXPECT_EQ(texts(deboor_h(1, knots, longer, parse_r("1"))), "3/1 3/1 ");
    std::vector<HPoint> shorter = {{1, 1}, {3}};
    EXPECT_PANIC_KIND(deboor_h(1, knots, shorter, parse_r("1/2")), corv::PanicKind::index);
    // A short point outside the span is never read.
    std::vector<HPoint> far = {{1, 1}, {3, 3}, {5}};
    EXPECT_EQ(texts(deboor_h(1, rs({"0", "0", "1", "2", "2"}), far, parse_r("1/2"))), "2/1 2/1 ");
}

TEST(DeBoor, OutOfRangeReadsPanic) {
    const Rational half = parse_r("1/2");
    auto knots = rs({"0", "0", "1", "1"});
    std::vector<HPoint> two = {{0}, {1}};
    EXPECT_PANIC_KIND(deboor_h(1, knots, {}, half), corv::PanicKind::index);
    EXPECT_PANIC_KIND(deboor_h(1, rs({"0", "0"}), two, half), corv::PanicKind::index);       // knots[n] missing
    EXPECT_PANIC_KIND(deboor_h(3, rs({"0", "0", "1"}), two, half), corv::PanicKind::index);  // knots[p] missing
    EXPECT_PANIC_KIND(deboor_h(2, knots, two, half), corv::PanicKind::index);                // too few points
    EXPECT_PANIC_KIND(deboor_h(2, knots, two, parse_r("5")), corv::PanicKind::index);        // ... whatever t is
    EXPECT_PANIC_KIND(deboor_h(2, rs({"0", "0", "0", "1"}), {{0}, {1}, {2}}, half),
                      corv::PanicKind::index);  // knots[k + p] missing
    // Without its last knot the usual layout still works.
    EXPECT_EQ(texts(deboor_h(1, rs({"0", "0", "1"}), two, half)), "1/2 ");
    // Degree 0 reads knots[n] only when t selects it.
    EXPECT_PANIC_KIND(deboor_h(0, rs({"0"}), two, half), corv::PanicKind::index);
    // Huge degrees fail without arithmetic overflow or a huge allocation.
    const std::uint64_t huge = std::numeric_limits<std::uint64_t>::max();
    EXPECT_PANIC_KIND(deboor_h(huge, knots, two, half), corv::PanicKind::index);
    EXPECT_PANIC_KIND(deboor_h(huge - 1, knots, two, parse_r("-1")), corv::PanicKind::index);
    EXPECT_PANIC_KIND(deboor_h(huge, knots, two, parse_r("7")), corv::PanicKind::index);
    EXPECT_PANIC_KIND(deboor_span(huge, knots, 2, half), corv::PanicKind::index);
}

TEST(DeBoor, ShapeChecksWithoutArithmetic) {
    auto knots = rs({"0", "0", "1", "2", "2"});
    const Rational t = parse_r("3/2");
    auto shape = corv::deboor_shape(1, knots, {4, 4, 4}, t);
    EXPECT_EQ(shape.k, 2u);
    EXPECT_EQ(shape.dim, 4u);
    EXPECT_EQ(corv::deboor_shape(0, knots, {4, 2, 7}, parse_r("1/2")).dim, 2u);
    EXPECT_EQ(corv::deboor_shape(0, knots, {4, 2, 7}, t).dim, 7u);
    EXPECT_PANIC_KIND(corv::deboor_shape(1, knots, {4, 4, 3}, t), corv::PanicKind::index);
    EXPECT_PANIC_KIND(corv::deboor_shape(1, knots, {}, t), corv::PanicKind::index);
    // Only the span's points are read; a shape that does not fit is refused.
    std::vector<HPoint> pts = {{}, {1}, {3}};
    EXPECT_EQ(texts(corv::deboor_at(1, knots, pts, t, {2, 1})), "2/1 ");
    EXPECT_PANIC_KIND(corv::deboor_at(1, knots, pts, t, {5, 1}), corv::PanicKind::index);
    EXPECT_PANIC_KIND(corv::deboor_at(1, knots, pts, t, {0, 1}), corv::PanicKind::index);
    EXPECT_PANIC_KIND(corv::deboor_at(1, knots, pts, t, {2, 2}), corv::PanicKind::index);
    EXPECT_PANIC_KIND(corv::deboor_at(3, knots, pts, t, {2, 1}), corv::PanicKind::index);
}
