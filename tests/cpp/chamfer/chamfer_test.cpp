#include <gtest/gtest.h>

#include "support/support.h"

#include <algorithm>

#include "bsp/boolean.h"
#include "builders/prism.h"
#include "canonical/watertight.h"
#include "chamfer/chamfer.h"
#include "chamfer/corner_pass.h"
#include "chamfer/edge_pass.h"
#include "core/measures.h"
#include "core/panic.h"
#include "rs_entry/number_text.h"
#include "rs_entry/solid_entry.h"

namespace corv {
namespace {

using rs_entry::parse_r;

Vec3 v(std::int64_t x, std::int64_t y, std::int64_t z) { return {x, y, z}; }
Rational r(const char* text) { return parse_r(text); }

// The extent of a solid along x.
std::pair<Rational, Rational> x_range(const Solid& s) {
    const auto [lo, hi] = bbox(s.polygons);
    return {lo.x, hi.x};
}

Edge x_axis_edge(const std::vector<Edge>& edges) {
    for (const Edge& e : edges) {
        if (e.dir == v(1, 0, 0) && point_at(e, 0) == v(0, 0, 0)) return e;
    }
    throw std::logic_error("no x axis edge");
}

TEST(EdgeCutter, UnitBoxEdgeGivesTheChamferSlab) {
    const Solid box = Solid::cube(1, 1, 1, "box");
    const Edge e = x_axis_edge(logical_edges(box));
    const std::optional<Solid> cutter = edge_cutter(e, r("1/10"), cutter_reach(box));
    ASSERT_TRUE(cutter);
    ASSERT_EQ(cutter->polygons.size(), 6u);
    // Face b lies in the chamfer plane y + z = 1/10, the rest of the slab
    // on the edge's side of it, 4 long and 2 + 2 across.
    const Polygon& b = cutter->polygons[0];
    EXPECT_EQ(b.label, "chamfer.b");
    for (const Vec3& p : b.vertices()) EXPECT_EQ(p.y + p.z, r("1/10"));
    EXPECT_EQ(x_range(*cutter), std::make_pair(Rational(-1), Rational(3)));
    EXPECT_EQ(volume6(cutter->polygons), r("48/5"));
    // A negative distance covers the same region.
    const std::optional<Solid> mirrored = edge_cutter(e, r("-1/10"), cutter_reach(box));
    ASSERT_TRUE(mirrored);
    EXPECT_EQ(canonical(mirrored->polygons), canonical(cutter->polygons));
    EXPECT_FALSE(edge_cutter(e, 0, cutter_reach(box)));
}

TEST(EdgeCutter, LongEdgesAreCoveredWholeShortOnesKeepTheirCutter) {
    // 3 x 1 x 1: reach 6, the edge's point is (3,0,0), the cutter reaches
    // back exactly to x = 0 and stays where it is.
    const Solid exact = Solid::cube(3, 1, 1, "box");
    const Edge e3 = x_axis_edge(logical_edges(exact));
    ASSERT_EQ(e3.point, v(3, 0, 0));
    EXPECT_EQ(x_range(*edge_cutter(e3, r("1/10"), cutter_reach(exact))), std::make_pair(Rational(0), Rational(6)));
    // 10 x 1 x 1: reach 13 from x = 10 would stop at 7/2; the cutter is
    // centred on the edge instead.
    const Solid long_box = Solid::cube(10, 1, 1, "box");
    const Edge e10 = x_axis_edge(logical_edges(long_box));
    EXPECT_EQ(x_range(*edge_cutter(e10, r("1/10"), cutter_reach(long_box))), std::make_pair(r("-3/2"), r("23/2")));
}

TEST(EdgeCutter, FaceWithoutRationalUnitNormalIsRejected) {
    // A wedge whose sloped face has the normal (0, 1, 1).
    const Solid wedge = Solid::make({
        Polygon::make({v(0, 0, 0), v(0, 1, 0), v(1, 1, 0), v(1, 0, 0)}, "w.bottom"),
        Polygon::make({v(0, 0, 1), v(1, 0, 1), v(1, 1, 0), v(0, 1, 0)}, "w.slope"),
        Polygon::make({v(0, 0, 0), v(1, 0, 0), v(1, 0, 1), v(0, 0, 1)}, "w.front"),
        Polygon::make({v(0, 0, 0), v(0, 0, 1), v(0, 1, 0)}, "w.left"),
        Polygon::make({v(1, 0, 0), v(1, 1, 0), v(1, 0, 1)}, "w.right"),
    });
    for (const char* dist : {"1/10", "0"}) {
        try {
            chamfer(wedge, r(dist));
            ADD_FAILURE() << "no error for dist " << dist;
        } catch (const ValueFailure& e) {
            EXPECT_STREQ(e.what(), "chamfer: non-rational face normal (K2)");
        }
    }
}

TEST(CornerPass, UnitBoxCornersAndTheirTetrahedra) {
    const std::vector<Edge> edges = logical_edges(Solid::cube(1, 1, 1, "box"));
    const CornerTable table = corner_table(edges);
    ASSERT_EQ(table.size(), 8u);
    for (const auto& [key, entries] : table) EXPECT_EQ(entries.size(), 3u) << key;

    const std::vector<CornerEntry>& origin = table.at("0/1,0/1,0/1");
    const std::optional<Solid> cutter = corner_cutter(origin, r("1/10"));
    ASSERT_TRUE(cutter);
    EXPECT_EQ(volume6(cutter->polygons), r("1/2000"));  // volume 1/12000
    // Face a is the facet on x + y + z = 1/5, W the fourth point.
    const Polygon& facet = cutter->polygons[0];
    EXPECT_EQ(facet.label, "corner.a");
    std::vector<std::string> corners;
    for (const Vec3& p : facet.vertices()) corners.push_back(point_text(p));
    std::sort(corners.begin(), corners.end());
    EXPECT_EQ(corners, (std::vector<std::string>{"0/1,1/10,1/10", "1/10,0/1,1/10", "1/10,1/10,0/1"}));
    const Vec3 w{r("1/20"), r("1/20"), r("1/20")};
    EXPECT_EQ(cutter->polygons[1].vertices().size(), 3u);
    bool has_w = false;
    for (const Vec3& p : cutter->polygons[1].vertices()) has_w = has_w || p == w;
    EXPECT_TRUE(has_w);

    // dist 0 collapses the tetrahedron to a point.
    const std::optional<Solid> flat = corner_cutter(origin, 0);
    ASSERT_TRUE(flat);
    EXPECT_TRUE(flat->polygons.empty());
}

TEST(CornerPass, CornersThatDoNotQualifyAreSkipped) {
    const std::vector<Edge> box_edges = logical_edges(Solid::cube(1, 1, 1, "box"));
    const std::vector<CornerEntry> origin = corner_table(box_edges).at("0/1,0/1,0/1");
    // Two or four entries.
    EXPECT_FALSE(corner_cutter({origin[0], origin[1]}, r("1/10")));
    EXPECT_FALSE(corner_cutter({origin[0], origin[1], origin[2], origin[0]}, r("1/10")));
    // An edge direction without a rational unit vector.
    std::vector<CornerEntry> diagonal = origin;
    diagonal[0].outward = v(1, 1, 0);
    EXPECT_FALSE(corner_cutter(diagonal, r("1/10")));
    // Only two distinct face planes.
    std::vector<CornerEntry> two_planes = origin;
    for (std::size_t i : {1u, 2u}) {
        two_planes[i].plane_a = origin[0].plane_b.negated();
        two_planes[i].plane_b = origin[0].plane_a;
    }
    EXPECT_FALSE(corner_cutter(two_planes, r("1/10")));
}

// The L-shaped prism over (0,0) (2,0) (2,1) (1,1) (1,2) (0,2), 1 high, its
// caps each made of two rectangles.
Solid l_prism() {
    const std::int64_t outline[6][2] = {{0, 0}, {2, 0}, {2, 1}, {1, 1}, {1, 2}, {0, 2}};
    std::vector<Polygon> faces;
    faces.push_back(Polygon::make({v(0, 0, 0), v(0, 1, 0), v(2, 1, 0), v(2, 0, 0)}, "l.bottom"));
    faces.push_back(Polygon::make({v(0, 1, 0), v(0, 2, 0), v(1, 2, 0), v(1, 1, 0)}, "l.bottom"));
    faces.push_back(Polygon::make({v(0, 0, 1), v(2, 0, 1), v(2, 1, 1), v(0, 1, 1)}, "l.top"));
    faces.push_back(Polygon::make({v(0, 1, 1), v(1, 1, 1), v(1, 2, 1), v(0, 2, 1)}, "l.top"));
    for (int i = 0; i < 6; ++i) {
        const auto& a = outline[i];
        const auto& b = outline[(i + 1) % 6];
        faces.push_back(Polygon::make({v(a[0], a[1], 0), v(b[0], b[1], 0), v(b[0], b[1], 1), v(a[0], a[1], 1)},
                                      "l.side" + std::to_string(i)));
    }
    return Solid::make(std::move(faces));
}

TEST(Chamfer, UnitBoxVolumes) {
    const Solid box = Solid::cube(1, 1, 1, "box");
    EXPECT_EQ(volume6(chamfer(box, r("1/10")).polygons), r("709/125"));
    EXPECT_EQ(volume6(chamfer(box, r("1/4")).polygons), r("17/4"));
    EXPECT_EQ(volume6(chamfer(box, r("-1/10")).polygons), r("1419/250"));
}

TEST(Chamfer, LongBoxIsBevelledOverItsWholeLength) {
    // a b c - 2 d^2 (a + b + c) + 16 d^3 / 3 with a, b, c = 10, 1, 1, d = 1/10.
    const Solid bevelled = chamfer(Solid::cube(10, 1, 1, "box"), r("1/10"));
    EXPECT_EQ(volume6(bevelled.polygons), r("3662/375") * Rational(6));
    EXPECT_TRUE(watertight_ok(bevelled));
}

TEST(Chamfer, SlantedLongEdgesLeaveNothingOnTheirLines) {
    // A prism over a long parallelogram whose long sides run along (3, 4, 0):
    // their faces have the unit normals (4/5, -3/5, 0) and its negative.
    const Solid prism = rs_entry::make_prism({"0", "0", "1", "0", "31", "40", "30", "40"}, "1", "p");
    const Solid bevelled = chamfer(prism, r("1/10"));
    EXPECT_TRUE(watertight_ok(bevelled));
    int long_edges = 0;
    for (const Edge& e : logical_edges(prism)) {
        if (e.dir != v(3, 4, 0)) continue;
        ++long_edges;
        for (const Polygon& p : bevelled.polygons) {
            for (const Vec3& q : p.vertices()) {
                const Vec3 off = sub(q, e.point);
                EXPECT_FALSE(cross(off, e.dir) == v(0, 0, 0)) << point_text(q);
            }
        }
    }
    EXPECT_EQ(long_edges, 4);
}

TEST(Chamfer, ZeroDistanceAndEdgelessSolidsComeBackUnchanged) {
    const Solid box = Solid::cube(2, 3, 5, "box");
    const Solid same = chamfer(box, 0);
    ASSERT_EQ(same.polygons.size(), box.polygons.size());
    for (std::size_t i = 0; i < box.polygons.size(); ++i) {
        EXPECT_EQ(same.polygons[i].vertices(), box.polygons[i].vertices());
        EXPECT_EQ(same.polygons[i].label, box.polygons[i].label);
    }
    const Solid single{{box.polygons[3]}};
    const Solid copy = chamfer(single, r("1/10"));
    ASSERT_EQ(copy.polygons.size(), 1u);
    EXPECT_EQ(copy.polygons[0].vertices(), single.polygons[0].vertices());
}

TEST(Chamfer, FailuresOfTheWholeOperation) {
    EXPECT_PANIC_KIND(chamfer(Solid{}, r("1/10")), corv::PanicKind::empty_solid);
    const Solid once = chamfer(Solid::cube(1, 1, 1, "box"), r("1/10"));
    EXPECT_THROW(chamfer(once, r("1/10")), ValueFailure);
}

TEST(Chamfer, ResultsAreClosed) {
    const Solid box = Solid::cube(2, 3, 1, "box");
    const Solid moved = Solid{Solid::cube(2, 2, 2, "b").polygons};
    std::vector<Polygon> shifted;
    for (const Polygon& p : moved.polygons) {
        std::vector<Vec3> q;
        for (const Vec3& c : p.vertices()) q.push_back(add(c, v(1, 1, 1)));
        shifted.push_back(Polygon::make(std::move(q), p.label));
    }
    const Solid two = boolean(BooleanOp::union_, Solid::cube(2, 2, 2, "a"), Solid{shifted});
    const Solid built = rs_entry::make_prism({"0", "0", "2", "0", "2", "1", "1", "1", "1", "2", "0", "2"}, "1", "l");
    for (const Solid& s : {box, l_prism(), built, two}) {
        const Solid bevelled = chamfer(s, r("1/10"));
        EXPECT_TRUE(watertight_ok(bevelled));
        EXPECT_LT(volume6(bevelled.polygons), volume6(s.polygons));
        EXPECT_GT(volume6(bevelled.polygons), Rational(0));
    }
}

}  // namespace
}  // namespace corv
