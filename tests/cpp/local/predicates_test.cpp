// The filtered predicates and the perturbed winding queries of the local
// engine, on cases where the float screen cannot decide and the exact
// fallback (or the symbolic tie-break) must.
#include <gtest/gtest.h>

#include <cmath>

#include "core/exact_double.h"
#include "local/filtered.h"
#include "local/winding.h"

namespace corv::local {
namespace {

Vec3 v(const Rational& x, const Rational& y, const Rational& z) { return {x, y, z}; }

TEST(LocalPredicates, OrientationsNearZeroFallBackToExact) {
    // c lies a distance 2^-70 off the line through a and b: the float copies
    // of all three are collinear, the exact points are not.
    const Rational tiny = from_double(std::ldexp(1.0, -70));
    const Vec3 a = v(0, 0, 0), b = v(1, 1, 0), c = v(Rational(1) / Rational(3), Rational(1) / Rational(3) + tiny, 0);
    EXPECT_EQ(orient2d_filter(to_f3(a), to_f3(b), to_f3(c), 0, 1), 0);
    EXPECT_EQ(orient2d(a, to_f3(a), b, to_f3(b), c, to_f3(c), 0, 1), 1);
    const Vec3 c2 = v(Rational(1) / Rational(3), Rational(1) / Rational(3) - tiny, 0);
    EXPECT_EQ(orient2d(a, to_f3(a), b, to_f3(b), c2, to_f3(c2), 0, 1), -1);
    const Vec3 on = v(Rational(1) / Rational(3), Rational(1) / Rational(3), 0);
    EXPECT_EQ(orient2d(a, to_f3(a), b, to_f3(b), on, to_f3(on), 0, 1), 0);
    // The same in space: d just above or on the plane through a, b, e.
    const Vec3 e = v(0, 1, 0);
    const Vec3 up = v(Rational(1) / Rational(3), Rational(1) / Rational(7), tiny);
    EXPECT_EQ(orient3d(a, to_f3(a), b, to_f3(b), e, to_f3(e), up, to_f3(up)), 1);
    const Vec3 flat = v(Rational(1) / Rational(3), Rational(1) / Rational(7), 0);
    EXPECT_EQ(orient3d(a, to_f3(a), b, to_f3(b), e, to_f3(e), flat, to_f3(flat)), 0);
    // Clear cases are settled by the screen alone.
    EXPECT_EQ(orient2d_filter(to_f3(a), to_f3(b), to_f3(e), 0, 1), 1);
    EXPECT_EQ(orient3d_filter(to_f3(a), to_f3(b), to_f3(e), Float3{0.2, 0.1, -1.0}), -1);
}

TEST(LocalPredicates, CompareExactUsesTheFloatOnlyWhenItDecides) {
    const Rational third = Rational(1) / Rational(3);
    const Rational near = third + from_double(std::ldexp(1.0, -80));
    EXPECT_EQ(to_f3(v(third, 0, 0))[0], to_f3(v(near, 0, 0))[0]);
    EXPECT_EQ(compare_exact(third, third.to_double(), near, near.to_double()), -1);
    EXPECT_EQ(compare_exact(near, near.to_double(), third, third.to_double()), 1);
    EXPECT_EQ(compare_exact(third, third.to_double(), third, third.to_double()), 0);
}

// The unit square at height h, facing up or down.
Solid square_at(const Rational& h, bool up) {
    std::vector<Vec3> loop{v(0, 0, h), v(1, 0, h), v(1, 1, h), v(0, 1, h)};
    if (!up) std::reverse(loop.begin(), loop.end());
    return Solid{{Polygon::make(loop, up ? "up" : "down")}};
}

TEST(LocalPredicates, WindingsOfACubeFromItsOwnFaces) {
    // A unit cube: a query from a point of the bottom face is outside just
    // below it and inside just above it (the top face counted once).
    const Solid cube = Solid::cube(1, 1, 1, "c");
    const Solid* ops[1] = {&cube};
    const std::uint8_t groups[1] = {0};
    const FacetSoup soup = make_soup(ops, groups);
    const Columns cols = make_columns(soup);
    std::size_t bottom = 0;
    while (soup.facets[bottom].polygon->label != "c.bottom") ++bottom;
    const Vec3& n = soup.facets[bottom].polygon->plane.normal;
    const Rational h = Rational(1) / Rational(2);
    for (const Vec3& q : {v(h, h, 0), v(0, h, 0), v(h, 0, 0), v(1, h, 0), v(0, 0, 0), v(1, 1, 0)}) {
        const Windings w = windings_at(soup, cols, bottom, q, to_f3(q), n);
        const bool inside_square = q.x > 0 && q.x < 1 && q.y > 0 && q.y < 1;
        if (!inside_square) continue;  // the own facet must contain q
        EXPECT_EQ(w.front[0], 0) << point_text(q);
        EXPECT_EQ(w.back[0], 1) << point_text(q);
    }
    // A point of the side plane x = 0 seen from a coplanar piece: the side
    // face itself is vertical and never counts; the top is above once.
    std::size_t left = 0;
    while (soup.facets[left].polygon->label != "c.left") ++left;
    const Vec3 q = v(0, h, h);
    const Windings w = windings_at(soup, cols, left, q, to_f3(q), soup.facets[left].polygon->plane.normal);
    EXPECT_EQ(w.front[0], 0);
    EXPECT_EQ(w.back[0], 1);
}

TEST(LocalPredicates, ProjectionContainsBreaksTiesConsistently) {
    // Two squares side by side share the edge x = 1: a point on that edge is
    // inside exactly one of them for each perturbation side.
    const Solid left = square_at(0, true);
    std::vector<Vec3> loop{v(1, 0, 0), v(2, 0, 0), v(2, 1, 0), v(1, 1, 0)};
    const Polygon right = Polygon::make(loop, "r");
    for (const Vec3& nf : {v(1, 0, 0), v(-1, 0, 0), v(0, 0, 1), v(1, 1, 1)}) {
        for (const Vec3& q : {v(1, Rational(1) / Rational(2), 5), v(1, 0, 5), v(1, 1, 5)}) {
            const auto a = projection_contains(left.polygons[0], q, to_f3(q), perturbation_of(nf));
            const auto b = projection_contains(right, q, to_f3(q), perturbation_of(nf));
            if (q.y == Rational(1) / Rational(2)) {
                EXPECT_NE(a[0], b[0]) << point_text(q) << " " << point_text(nf);
                EXPECT_NE(a[1], b[1]) << point_text(q) << " " << point_text(nf);
            } else {
                EXPECT_FALSE(a[0] && b[0]);
                EXPECT_FALSE(a[1] && b[1]);
            }
        }
    }
}

}  // namespace
}  // namespace corv::local
