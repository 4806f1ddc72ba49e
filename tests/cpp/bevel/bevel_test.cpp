// The chamfer of chosen edges on convex solids, against the solid met by
// every bevel's half-space and every corner's plane built from scratch;
// the rounded step where no rational one has length dist; convex pieces.
#include <gtest/gtest.h>

#include <cmath>
#include <functional>

#include "bevel/bevel.h"
#include "bevel/convex_piece.h"
#include "bevel/setback.h"
#include "builders/prism.h"
#include "canonical/watertight.h"
#include "core/measures.h"
#include "edges/edge_measures.h"
#include "edges/solid_edges.h"
#include "mesh/same_shape.h"
#include "support/support.h"

namespace corv {
namespace {

TEST(Setback, ExactForSquaresAndWithinBoundOtherwise) {
    EXPECT_EQ(setback_scale(Rational(1, 2), Rational(25, 4)).scale, Rational(1, 5));
    EXPECT_TRUE(setback_scale(Rational(1, 2), Rational(25, 4)).exact);
    for (std::int64_t q : {2, 3, 5, 1000003}) {
        const Setback s = setback_scale(Rational(1, 3), Rational(q));
        EXPECT_FALSE(s.exact);
        const double reached = s.scale.to_double() * std::sqrt(static_cast<double>(q));
        EXPECT_NEAR(reached, 1.0 / 3.0, 1e-15) << q;
        // Exactly: (t^2 q - d^2) / d^2 within 2 * 2^-54.
        const Rational d2(1, 9);
        const Rational rel = abs(s.scale * s.scale * Rational(q) - d2) / d2;
        EXPECT_LT(rel.to_double(), 2.3e-16) << q;
    }
    EXPECT_EQ(simplest_between(Rational(3, 10), Rational(1, 3)), Rational(1, 3));
    EXPECT_EQ(simplest_between(Rational(29, 10), Rational(31, 10)), Rational(3));
    EXPECT_EQ(simplest_between(Rational(31, 10), Rational(33, 10)), Rational(13, 4));
    EXPECT_EQ(simplest_between(Rational(7, 5), Rational(3, 2)), Rational(3, 2));
}

TEST(ConvexPiece, BoxCutByHalfSpaces) {
    const Vec3 lo{0, 0, 0}, hi{1, 1, 1};
    const HalfSpace corner{Plane{{1, 1, 1}, Rational(1)}, "cut"};
    const Solid tetra = convex_piece(lo, hi, std::span(&corner, 1), "box");
    EXPECT_EQ(volume6(tetra.polygons), Rational(1));
    EXPECT_TRUE(watertight_ok(tetra));
    const HalfSpace away{Plane{{1, 0, 0}, Rational(-1)}, "gone"};
    EXPECT_TRUE(convex_piece(lo, hi, std::span(&away, 1), "box").polygons.empty());
}

// The exact unit vector along w (w's length is rational in these solids).
Vec3 unit(const Vec3& w) {
    const Rational q = dot(w, w);
    const Integer n = isqrt(q.numerator()), d = isqrt(q.denominator());
    return smul(Rational(d, n), w);
}

// The convex solid met by every face's half-space, every chosen edge's
// bevel half-space and, where three chosen edges meet, the corner's.
Solid bevelled_from_scratch(
    const Solid& solid, const Rational& dist,
    const std::function<bool(const SolidEdge&)>& chosen = [](const SolidEdge&) { return true; }) {
    const std::vector<SolidEdge> edges = solid_edges(solid);
    std::vector<HalfSpace> cuts;
    std::vector<std::pair<Vec3, Plane>> bevels;  // (edge start, bevel plane kept side)
    for (const SolidEdge& e : edges) {
        for (const EdgeFace& f : e.faces) cuts.push_back(HalfSpace{f.plane, "face"});
        if (!chosen(e)) {
            bevels.emplace_back(e.start, Plane{});
            bevels.emplace_back(e.end, Plane{});
            continue;
        }
        const Vec3 a = add(e.start, smul(dist, unit(inward(e, 0))));
        const Vec3 b = add(e.start, smul(dist, unit(inward(e, 1))));
        Plane p = plane_through(a, edge_direction(e), sub(b, a));
        if (p.side(e.start) < 0) p = p.negated();
        cuts.push_back(HalfSpace{p, "chamfer"});
        bevels.emplace_back(e.start, p);
        bevels.emplace_back(e.end, p);
    }
    // At each corner: in each face, where its two bevels cross; the plane through those points.
    for (const SolidEdge& e : edges) {
        for (const Vec3& v : {e.start, e.end}) {
            std::vector<Vec3> q;
            for (const SolidEdge& f : edges) {
                if (f.start != v && f.end != v) continue;
                if (!chosen(f)) q.resize(4);  // no corner
                for (const SolidEdge& g : edges) {
                    if (&g <= &f || (g.start != v && g.end != v) || !chosen(g)) continue;
                    for (const EdgeFace& ff : f.faces) {
                        for (const EdgeFace& gf : g.faces) {
                            if (ff.plane != gf.plane) continue;
                            const Plane pf = bevels[2 * static_cast<std::size_t>(&f - edges.data())].second;
                            const Plane pg = bevels[2 * static_cast<std::size_t>(&g - edges.data())].second;
                            q.push_back(*meet(pf, pg, ff.plane));
                        }
                    }
                }
            }
            if (q.size() != 3) continue;
            Plane c = plane_through(q[0], sub(q[1], q[0]), sub(q[2], q[0]));
            if (c.side(v) < 0) c = c.negated();
            cuts.push_back(HalfSpace{c, "corner"});
        }
    }
    auto [lo, hi] = bbox(solid.polygons);
    return convex_piece(sub(lo, {1, 1, 1}), add(hi, {1, 1, 1}), cuts, "box");
}

TEST(BevelConvex, EveryEdgeIsTheSolidMetByBevelAndCornerHalfSpaces) {
    const std::vector<std::pair<const char*, Solid>> cases = {
        {"box", Solid::cube(3, 2, 1, "b")},
        {"3-4-5 turned box", make_prism({{0, 0}, {3, 4}, {-5, 10}, {-8, 6}}, 3, "t")},
        {"3-4-5 triangle prism", make_prism({{0, 0}, {8, 0}, {8, 6}}, 2, "w")},
        {"pentagon prism", make_prism({{0, 0}, {12, 0}, {12, 5}, {8, 8}, {0, 8}}, 4, "p")},
    };
    for (const auto& [name, solid] : cases) {
        const Rational dist(1, 4);
        const Solid got = bevel_all_edges(solid, dist);
        const Solid want = bevelled_from_scratch(solid, dist);
        EXPECT_TRUE(watertight_ok(got)) << name;
        EXPECT_EQ(volume6(got.polygons), volume6(want.polygons)) << name;
        EXPECT_TRUE(same_shape(got, want)) << name;
    }
}

// A prism over an n-gon of radius r whose vertices lie at twice angles with
// rational cosine and sine: every side's unit normal and length is rational.
Solid faceted_cylinder(int n, int r, int h) {
    std::vector<Point2> outline;
    for (int k = 0; k < n; ++k) {
        // t = tan(phi / 2) for phi near pi k / n, as a fraction of 1/1000s
        const double phi = std::acos(-1.0) * k / n;
        const Rational t(static_cast<std::int64_t>(std::llround(1000 * std::tan(phi / 2))), 1000);
        const Rational q = 1 + t * t, c = (1 - t * t) / q, s = 2 * t / q;
        outline.push_back({r * (c * c - s * s), r * 2 * c * s});
    }
    return make_prism(outline, h, "c");
}

TEST(BevelConvex, FacetedCylinderRimsStayOnTheirOwnStretch) {
    // Faces meet almost flat around the rim: a rim piece ended only at the
    // face planes beyond its neighbours would run on over them.
    const Solid cylinder = faceted_cylinder(32, 5, 3);
    const Rational dist(1, 4);
    const Solid got = bevel_all_edges(cylinder, dist);
    EXPECT_TRUE(watertight_ok(got));
    EXPECT_TRUE(same_shape(got, bevelled_from_scratch(cylinder, dist)));
    const std::vector<SolidEdge> edges = solid_edges(cylinder);
    std::vector<std::size_t> rims;
    for (std::size_t i = 0; i < edges.size(); ++i) {
        if (edges[i].start.z == edges[i].end.z) rims.push_back(i);
    }
    const auto is_rim = [](const SolidEdge& e) { return e.start.z == e.end.z; };
    EXPECT_TRUE(same_shape(bevel_edges(cylinder, rims, dist), bevelled_from_scratch(cylinder, dist, is_rim)));
}

TEST(BevelConvex, ChosenEdgesOnlyAndNoneLeaveTheRestSharp) {
    const Solid box = Solid::cube(2, 2, 2, "b");
    const std::vector<SolidEdge> edges = solid_edges(box);
    std::vector<std::size_t> upright;
    for (std::size_t i = 0; i < edges.size(); ++i) {
        if (edges[i].start.z != edges[i].end.z) upright.push_back(i);
    }
    const Solid got = bevel_edges(box, upright, Rational(1, 2));
    const Solid want = make_prism({{0, Rational(1, 2)},
                                   {Rational(1, 2), 0},
                                   {Rational(3, 2), 0},
                                   {2, Rational(1, 2)},
                                   {2, Rational(3, 2)},
                                   {Rational(3, 2), 2},
                                   {Rational(1, 2), 2},
                                   {0, Rational(3, 2)}},
                                  2, "o");
    EXPECT_TRUE(same_shape(got, want));
    EXPECT_EQ(volume6(bevel_edges(box, {}, Rational(1, 2)).polygons), Rational(48));
    Solid open = box;
    open.polygons.pop_back();
    EXPECT_TRUE(test::panics_with([&] { bevel_all_edges(open, Rational(1, 2)); }, PanicKind::not_manifold, "open"));
    EXPECT_NE(test::panic_text([&] { bevel_all_edges(open, 1); }).find("chamfer: the solid is not closed along"),
              std::string::npos);
}

}  // namespace
}  // namespace corv
