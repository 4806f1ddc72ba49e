#include "nurbs/nurbs_eval.h"

#include <gtest/gtest.h>

#include "support/support.h"

namespace corv {
namespace {

Rational q(std::int64_t n, std::int64_t d) { return Rational(n) / Rational(d); }

const std::vector<Rational> kLineKnots{0, 0, 1, 1};

TEST(NurbsCurveTyped, WeightsPullTowardsTheirPointAndOnlyPairedPointsCount) {
    const std::vector<Coords> line{{0, 0, 0}, {1, 2, 3}};
    EXPECT_EQ(nurbs_curve_eval(1, line, kLineKnots, q(1, 2), std::nullopt), (Vec3{q(1, 2), 1, q(3, 2)}));
    // Weight 3 on the second point: (0 * 1 + 1 * 3) / (1 + 3) = 3/4 of the way.
    EXPECT_EQ(nurbs_curve_eval(1, line, kLineKnots, q(1, 2), std::vector<Rational>{1, 3}),
              (Vec3{q(3, 4), q(3, 2), q(9, 4)}));
    // A third point without a weight is never used (and so never checked).
    const std::vector<Coords> extra{{0, 0, 0}, {1, 2, 3}, {9, 9, 9, 9}};
    EXPECT_EQ(nurbs_curve_eval(1, extra, kLineKnots, q(1, 2), std::vector<Rational>{1, 1}),
              (Vec3{q(1, 2), 1, q(3, 2)}));
    EXPECT_PANIC_KIND(nurbs_curve_eval(1, extra, kLineKnots, q(1, 2), std::nullopt), PanicKind::bad_shape);
    EXPECT_PANIC_KIND(nurbs_curve_eval(1, line, kLineKnots, q(1, 2), std::vector<Rational>{1, -1}),
                      PanicKind::division_by_zero);
}

TEST(NurbsSurfaceTyped, BilinearPatchAndRowChecks) {
    const std::vector<std::vector<Coords>> saddle{{{0, 0, 0}, {0, 1, 0}}, {{1, 0, 0}, {1, 1, 1}}};
    EXPECT_EQ(nurbs_surface_eval(1, 1, saddle, kLineKnots, kLineKnots, q(1, 2), q(1, 3), std::nullopt),
              (Vec3{q(1, 2), q(1, 3), q(1, 6)}));
    const std::vector<std::vector<Rational>> ones{{1, 1}, {1, 1}};
    EXPECT_EQ(nurbs_surface_eval(1, 1, saddle, kLineKnots, kLineKnots, q(1, 2), q(1, 3), ones),
              (Vec3{q(1, 2), q(1, 3), q(1, 6)}));
    EXPECT_PANIC_KIND(nurbs_surface_eval(1, 1, saddle, kLineKnots, kLineKnots, q(1, 2), q(1, 3),
                                         std::vector<std::vector<Rational>>{{1, 1}}),
                      PanicKind::index);
    // A bad row fails the call even when the u span does not blend it.
    std::vector<std::vector<Coords>> bad_last = saddle;
    bad_last.push_back({{2, 0, 0}, {2, 1}});
    const std::vector<Rational> ku{0, 0, 1, 2, 2};
    EXPECT_PANIC_KIND(nurbs_surface_eval(1, 1, bad_last, ku, kLineKnots, 0, q(1, 2), std::nullopt), PanicKind::index);
}

}  // namespace
}  // namespace corv
