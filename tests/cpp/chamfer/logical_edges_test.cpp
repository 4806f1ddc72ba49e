#include <gtest/gtest.h>

#include "canonical/canonical.h"
#include "chamfer/logical_edges.h"

namespace corv {
namespace {

Vec3 v(std::int64_t x, std::int64_t y, std::int64_t z) { return {x, y, z}; }

// A point on the edge's line, read as the two coordinates off its axis.
struct Line {
    Vec3 dir;
    Vec3 through;  // the line's point with zero position along an axis dir
};

Vec3 foot(const Edge& e) { return point_at(e, Rational(0)); }

TEST(LogicalEdges, UnitBoxEdgesComeInKeyOrder) {
    const std::vector<Edge> edges = logical_edges(Solid::cube(1, 1, 1, "box"));
    // z lines (key 0/1,0/1,1/1|...), then y lines, then x lines; within each
    // group "-" sorts before the digits.
    const std::vector<Line> expected = {
        {v(0, 0, 1), v(1, 0, 0)}, {v(0, 0, 1), v(0, 0, 0)}, {v(0, 0, 1), v(1, 1, 0)}, {v(0, 0, 1), v(0, 1, 0)},
        {v(0, 1, 0), v(0, 0, 1)}, {v(0, 1, 0), v(1, 0, 1)}, {v(0, 1, 0), v(0, 0, 0)}, {v(0, 1, 0), v(1, 0, 0)},
        {v(1, 0, 0), v(0, 1, 0)}, {v(1, 0, 0), v(0, 0, 0)}, {v(1, 0, 0), v(0, 1, 1)}, {v(1, 0, 0), v(0, 0, 1)},
    };
    ASSERT_EQ(edges.size(), expected.size());
    for (std::size_t i = 0; i < edges.size(); ++i) {
        EXPECT_EQ(edges[i].dir, expected[i].dir) << i;
        EXPECT_EQ(foot(edges[i]), expected[i].through) << i;
        EXPECT_EQ(edges[i].t_min, Rational(0)) << i;
        EXPECT_EQ(edges[i].t_max, Rational(1)) << i;
    }
}

TEST(LogicalEdges, FirstSeenSideFixesPointAndPlaneOrder) {
    const Solid box = Solid::cube(1, 1, 1, "box");
    const std::vector<Edge> edges = logical_edges(box);
    // The x axis: the bottom face's side (1,0,0) -> (0,0,0) is met first.
    const Edge& x_axis = edges.at(9);
    EXPECT_EQ(x_axis.point, v(1, 0, 0));
    EXPECT_EQ(x_axis.plane_a, box.polygons[0].plane);  // bottom
    EXPECT_EQ(x_axis.plane_b, box.polygons[2].plane);  // front
    // The z axis: front's side (0,0,1) -> (0,0,0), before left's.
    const Edge& z_axis = edges.at(1);
    EXPECT_EQ(z_axis.point, v(0, 0, 1));
    EXPECT_EQ(z_axis.plane_a, box.polygons[2].plane);  // front
    EXPECT_EQ(z_axis.plane_b, box.polygons[5].plane);  // left
}

TEST(LogicalEdges, SidesOnOneLineMergeAcrossGapsAndPieces) {
    // Two unit boxes along x with a gap between them.
    Solid pair = Solid::cube(1, 1, 1, "a");
    for (Polygon p : Solid::cube(1, 1, 1, "b").polygons) {
        std::vector<Vec3> moved;
        for (const Vec3& q : p.vertices()) moved.push_back(add(q, v(2, 0, 0)));
        pair.polygons.push_back(Polygon::make(std::move(moved), p.label));
    }
    const std::vector<Edge> edges = logical_edges(pair);
    EXPECT_EQ(edges.size(), 20u);  // 8 + 8 across, 4 along x shared
    const Edge& x_axis = edges.at(17);
    EXPECT_EQ(x_axis.dir, v(1, 0, 0));
    EXPECT_EQ(foot(x_axis), v(0, 0, 0));
    EXPECT_EQ(x_axis.t_min, Rational(0));
    EXPECT_EQ(x_axis.t_max, Rational(3));
    EXPECT_EQ(x_axis.plane_a, pair.polygons[0].plane);
}

TEST(LogicalEdges, OnlyLinesWithExactlyTwoFacePlanesAreEdges) {
    const Solid box = Solid::cube(2, 2, 2, "b");
    auto with = [&](std::vector<Polygon> extra, bool drop_top) {
        Solid s = box;
        if (drop_top) s.polygons.erase(s.polygons.begin() + 1);
        for (Polygon& p : extra) s.polygons.push_back(std::move(p));
        return logical_edges(s).size();
    };
    // The top split into two coplanar halves: the seam has one plane.
    EXPECT_EQ(with({Polygon::make({v(0, 0, 2), v(1, 0, 2), v(1, 2, 2), v(0, 2, 2)}, "h1"),
                    Polygon::make({v(1, 0, 2), v(2, 0, 2), v(2, 2, 2), v(1, 2, 2)}, "h2")},
                   true),
              12u);
    // A top with a repeated vertex: the zero-length side adds nothing.
    EXPECT_EQ(with({Polygon::make({v(0, 0, 2), v(2, 0, 2), v(2, 0, 2), v(2, 2, 2), v(0, 2, 2)}, "t")}, true), 12u);
    // A fin on the x axis brings a third plane to that line.
    EXPECT_EQ(with({Polygon::make({v(0, 0, 0), v(2, 0, 0), v(1, -1, -1)}, "fin")}, false), 11u);
    // A face with its flipped copy: one plane on every line, no edges.
    const Polygon face = box.polygons[0];
    EXPECT_TRUE(logical_edges(Solid{{face, face.flipped()}}).empty());
    EXPECT_TRUE(logical_edges(Solid{}).empty());
}

}  // namespace
}  // namespace corv
