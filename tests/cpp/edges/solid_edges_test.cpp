// The edges of solids: counts, faces, convexity and angles on boxes and an
// L-shaped prism, seams and T-junctions that are no edges, two edges on a
// line where four faces meet, and an open surface refused.
#include <gtest/gtest.h>

#include "builders/prism.h"
#include "core/transforms.h"
#include "edges/edge_measures.h"
#include "edges/solid_edges.h"
#include "local/local_boolean.h"
#include "support/support.h"

namespace corv {
namespace {

Solid ell() { return make_prism({{0, 0}, {60, 0}, {60, 6}, {6, 6}, {6, 50}, {0, 50}}, 40, "L"); }

TEST(SolidEdges, BoxHasTwelveConvexRightAngledEdgesInOrder) {
    const std::vector<SolidEdge> edges = solid_edges(Solid::cube(3, 2, 1, "b"));
    ASSERT_EQ(edges.size(), 12u);
    for (std::size_t i = 0; i < edges.size(); ++i) {
        const SolidEdge& e = edges[i];
        EXPECT_TRUE(e.convex);
        EXPECT_FALSE(e.shared_line);
        EXPECT_DOUBLE_EQ(interior_angle_degrees(e), 90.0);
        // Outward unit normals of the box; at a convex edge face 0 runs into
        // the solid's side of face 1.
        EXPECT_EQ(norm1(e.faces[0].plane.normal), Rational(1));
        EXPECT_EQ(dot(inward(e, 0), e.faces[1].plane.normal).sign(), -1) << edge_text(e);
        if (i > 0) {
            EXPECT_LE(edges[i - 1].start.x, e.start.x);
        }
    }
    EXPECT_EQ(edges[0].start, (Vec3{0, 0, 0}));
}

TEST(SolidEdges, InnerEdgeOfAnLIsConcaveAndEveryFaceKeepsItsLabel) {
    const std::vector<SolidEdge> edges = solid_edges(ell());
    ASSERT_EQ(edges.size(), 18u);
    int concave = 0;
    for (const SolidEdge& e : edges) {
        if (e.convex) continue;
        ++concave;
        EXPECT_EQ(e.start, (Vec3{6, 6, 0}));
        EXPECT_EQ(e.end, (Vec3{6, 6, 40}));
        EXPECT_DOUBLE_EQ(interior_angle_degrees(e), 270.0);
        EXPECT_NE(e.faces[0].label.find("L.side"), std::string::npos);
    }
    EXPECT_EQ(concave, 1);
}

TEST(SolidEdges, SeamsAndTJunctionsJoinIntoWholeEdges) {
    // Two boxes side by side: the shared top and front are one face each,
    // their long edges one edge each, split or not into pieces.
    const Solid two =
        local_union_all(std::vector<Solid>{Solid::cube(1, 1, 1, "a"), Solid::cube_at({1, 0, 0}, 2, 1, 1, "b")});
    const std::vector<SolidEdge> edges = solid_edges(two);
    EXPECT_EQ(edges.size(), 12u);
    for (const SolidEdge& e : edges) {
        if (e.start.x != e.end.x) {
            EXPECT_EQ(sub(e.end, e.start), (Vec3{3, 0, 0})) << edge_text(e);
        }
    }
    // A step: the top of the low box meets the side of the high one in a concave edge.
    const Solid step =
        local_union_all(std::vector<Solid>{Solid::cube(2, 1, 1, "low"), Solid::cube_at({1, 0, 0}, 1, 1, 2, "high")});
    int concave = 0;
    for (const SolidEdge& e : solid_edges(step)) concave += e.convex ? 0 : 1;
    EXPECT_EQ(concave, 1);
}

TEST(SolidEdges, FourFacesOnALineGiveTwoEdges) {
    Solid both = Solid::cube(1, 1, 1, "a");
    for (const Polygon& p : Solid::cube_at({1, 1, 0}, 1, 1, 1, "b").polygons) both.polygons.push_back(p);
    int on_line = 0;
    for (const SolidEdge& e : solid_edges(both)) {
        if (e.start != Vec3{1, 1, 0} || e.end != Vec3{1, 1, 1}) continue;
        ++on_line;
        EXPECT_TRUE(e.shared_line);
        EXPECT_TRUE(e.convex);
        EXPECT_EQ(e.faces[0].label.substr(0, 1), e.faces[1].label.substr(0, 1));  // one box's two faces
    }
    EXPECT_EQ(on_line, 2);
}

TEST(SolidEdges, OpenSurfaceIsRefusedWhereItIsOpen) {
    Solid open = Solid::cube(1, 1, 1, "b");
    open.polygons.pop_back();
    const std::string text = test::panic_text([&] { solid_edges(open); });
    EXPECT_NE(text.find("not closed along (0, "), std::string::npos) << text;
    EXPECT_TRUE(test::panics_with([&] { solid_edges(open); }, PanicKind::not_manifold, "solid_edges"));
}

}  // namespace
}  // namespace corv
