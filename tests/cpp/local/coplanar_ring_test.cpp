// The ring around a facet lying flat inside another: convex pieces through
// the two outlines' own points, covering the ring once; refused when the
// inner facet is not strictly inside.
#include <gtest/gtest.h>

#include <set>
#include <string>

#include "local/coplanar_ring.h"

namespace corv::local {
namespace {

// A convex n-gon of points of the parabola y = x^2 (shifted and scaled),
// counter-clockwise seen from +z, in the plane z = 1.
Polygon parabola_loop(int n, const Rational& scale, const Rational& dx, const Rational& dy, bool down = false) {
    std::vector<Vec3> loop;
    for (int i = 0; i < n; ++i) {
        const Rational x(i - n / 2);
        loop.push_back({scale * x + dx, scale * (x * x - Rational(n * n, 4)) + dy, Rational(1)});
    }
    if (down) std::reverse(loop.begin(), loop.end());
    return Polygon::make(std::move(loop), "face");
}

TEST(CoplanarRing, PiecesAreConvexMadeOfTheOutlinesPointsAndCoverTheRingOnce) {
    const Polygon outer = parabola_loop(24, Rational(1), 0, 0);
    for (bool down : {false, true}) {  // the inner facet facing either way
        const Polygon inner = parabola_loop(9, Rational(1, 3), Rational(1, 7), Rational(-40), down);
        const auto ring = ring_pieces(outer, inner);
        ASSERT_TRUE(ring.has_value());
        std::set<std::string> points;
        for (const Polygon* p : {&outer, &inner}) {
            for (const Vec3& v : p->vertices()) points.insert(point_text(v));
        }
        Vec3 covered = ring->inner.vector_area2();
        EXPECT_EQ(ring->inner.plane.normal, outer.plane.normal);
        for (const Polygon& piece : ring->ring) {
            const auto& v = piece.vertices();
            for (std::size_t k = 0; k < v.size(); ++k) {
                EXPECT_TRUE(points.count(point_text(v[k])));
                const Vec3 turn = cross(sub(v[(k + 1) % v.size()], v[k]), sub(v[(k + 2) % v.size()], v[k]));
                EXPECT_GT(turn.z.sign(), 0);  // strictly convex, counter-clockwise like the outer facet
            }
            covered = add(covered, piece.vector_area2());
        }
        // Each piece turns counter-clockwise, so equal areas mean no overlap and no gap.
        EXPECT_EQ(covered, outer.vector_area2());
    }
}

TEST(CoplanarRing, AnInnerFacetTouchingTheOuterBoundaryIsLeftToTheGeneralCutButATwinIsKnown) {
    const Polygon outer = Polygon::make({{0, 0, 0}, {4, 0, 0}, {4, 4, 0}, {0, 4, 0}}, "a");
    EXPECT_FALSE(ring_pieces(outer, Polygon::make({{0, 1, 0}, {2, 1, 0}, {2, 2, 0}, {0, 2, 0}}, "b")));
    EXPECT_TRUE(ring_pieces(outer, Polygon::make({{1, 1, 0}, {2, 1, 0}, {2, 2, 0}, {1, 2, 0}}, "b")));
    const Polygon inner = Polygon::make({{1, 1, 0}, {3, 1, 0}, {3, 3, 0}, {1, 3, 0}}, "b");
    EXPECT_TRUE(on_one_edge(inner, {{3, 1, 0}, {3, 3, 0}}));
    EXPECT_TRUE(on_one_edge(inner, {{2, 1, 0}, {3, 1, 0}}));
    EXPECT_FALSE(on_one_edge(inner, {{1, 1, 0}, {3, 3, 0}}));  // a chord through the facet
    EXPECT_FALSE(on_one_edge(inner, {{4, 1, 0}}));
    // A facet's twin: the same points in turn, either way round, from any start.
    EXPECT_TRUE(same_loop(inner, Polygon::make({{3, 3, 0}, {1, 3, 0}, {1, 1, 0}, {3, 1, 0}}, "c")));
    EXPECT_TRUE(same_loop(inner, Polygon::make({{3, 1, 0}, {1, 1, 0}, {1, 3, 0}, {3, 3, 0}}, "c")));
    EXPECT_FALSE(same_loop(inner, Polygon::make({{1, 1, 0}, {3, 3, 0}, {3, 1, 0}, {1, 3, 0}}, "c")));
    EXPECT_FALSE(same_loop(inner, Polygon::make({{1, 1, 0}, {3, 1, 0}, {3, 3, 0}}, "c")));
}

}  // namespace
}  // namespace corv::local
