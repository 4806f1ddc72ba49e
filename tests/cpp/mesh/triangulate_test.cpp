#include <gtest/gtest.h>

#include <map>

#include "core/panic.h"
#include "mesh/triangulate.h"
#include "support/random_solids.h"
#include "support/support.h"

namespace corv::mesh {
namespace {

// Regions made of cells of an n x n grid, drawn through an integer shear of
// determinant 5 so that no side is axis-parallel. Unions of cells have holes,
// holes and outer loops touching at a vertex, and straight runs of vertices
// on every side.
struct Grid {
    int n;
    std::vector<Vec3> points;
    std::vector<Float3> fpoints;

    explicit Grid(int size) : n(size) {
        for (int i = 0; i <= n; ++i) {
            for (int j = 0; j <= n; ++j) {
                points.push_back({Rational(2 * i + j), Rational(i + 3 * j), Rational(0)});
                fpoints.push_back(to_f3(points.back()));
            }
        }
    }
    std::uint32_t at(int i, int j) const { return static_cast<std::uint32_t>(i * (n + 1) + j); }
    PlanarView view() const { return {&points, &fpoints, Frame{0, 1}}; }

    // The boundary of the union of the cells, region on the left.
    std::vector<Edge> boundary(const std::vector<std::pair<int, int>>& cells) const {
        std::map<Edge, int> count;
        for (auto [i, j] : cells) {
            const std::uint32_t c[4] = {at(i, j), at(i + 1, j), at(i + 1, j + 1), at(i, j + 1)};
            for (int k = 0; k < 4; ++k) {
                Edge e{c[k], c[(k + 1) % 4]};
                if (count.erase({e[1], e[0]}) == 0) ++count[e];
            }
        }
        std::vector<Edge> out;
        for (const auto& [e, k] : count) out.push_back(e);
        return out;
    }
};

// Triangles counter-clockwise, their areas summing to the cells' (each cell
// has area 5 through the shear), every region edge a triangle side once in
// its own direction and never reversed, every other side matched by its
// reverse.
void expect_tiles(const Grid& g, const std::vector<Edge>& edges, std::size_t cells, const std::vector<Triangle>& tris) {
    const PlanarView view = g.view();
    std::map<Edge, int> sides;
    Rational area2;
    for (const Triangle& t : tris) {
        ASSERT_GT(view.orient(t[0], t[1], t[2]), 0);
        const Vec3 &a = g.points[t[0]], &b = g.points[t[1]], &c = g.points[t[2]];
        area2 += (b.x - a.x) * (c.y - a.y) - (b.y - a.y) * (c.x - a.x);
        for (std::size_t k = 0; k < 3; ++k) ++sides[{t[k], t[(k + 1) % 3]}];
    }
    EXPECT_EQ(area2, Rational(static_cast<std::int64_t>(10 * cells)));
    for (const Edge& e : edges) {
        EXPECT_EQ(sides[e], 1);
        EXPECT_EQ(sides.count({e[1], e[0]}), 0u);
        sides.erase(e);
    }
    for (const auto& [e, k] : sides) {
        EXPECT_EQ(k, 1);
        auto rev = sides.find({e[1], e[0]});
        ASSERT_NE(rev, sides.end());
        EXPECT_EQ(rev->second, 1);
    }
}

TEST(Triangulate, SquareWithHoleAndCollinearRuns) {
    Grid g(3);
    std::vector<std::pair<int, int>> ring;
    for (int i = 0; i < 3; ++i) {
        for (int j = 0; j < 3; ++j) {
            if (i != 1 || j != 1) ring.push_back({i, j});
        }
    }
    const std::vector<Edge> edges = g.boundary(ring);
    const std::vector<Triangle> tris = triangulate_region(edges, g.view());
    // 16 vertices, one hole, no new points: 16 + 2 - 2 triangles.
    EXPECT_EQ(tris.size(), 16u);
    expect_tiles(g, edges, ring.size(), tris);
}

TEST(Triangulate, CellsTouchingAtCorners) {
    Grid g(4);
    // A checkerboard: every inner vertex is where two cells touch.
    std::vector<std::pair<int, int>> board;
    for (int i = 0; i < 4; ++i) {
        for (int j = 0; j < 4; ++j) {
            if ((i + j) % 2 == 0) board.push_back({i, j});
        }
    }
    const std::vector<Edge> edges = g.boundary(board);
    const std::vector<Triangle> tris = triangulate_region(edges, g.view());
    EXPECT_EQ(tris.size(), 16u);
    expect_tiles(g, edges, board.size(), tris);
    // A hole touching the outer loop at a corner, and two holes touching each other.
    std::vector<std::pair<int, int>> holes;
    for (int i = 0; i < 4; ++i) {
        for (int j = 0; j < 4; ++j) {
            if (!((i == 0 && j == 1) || (i == 1 && j == 0) || (i == 2 && j == 2) || (i == 1 && j == 1))) {
                holes.push_back({i, j});
            }
        }
    }
    const std::vector<Edge> edges2 = g.boundary(holes);
    expect_tiles(g, edges2, holes.size(), triangulate_region(edges2, g.view()));
}

TEST(Triangulate, RandomCellUnions) {
    for (std::uint64_t seed = 0; seed < 300; ++seed) {
        testing_random::Rng r{seed};
        Grid g(r.between(2, 9));
        std::vector<std::pair<int, int>> cells;
        const int keep = r.between(1, 3);  // of 4
        for (int i = 0; i < g.n; ++i) {
            for (int j = 0; j < g.n; ++j) {
                if (r.below(4) < keep) cells.push_back({i, j});
            }
        }
        if (cells.empty()) continue;
        const std::vector<Edge> edges = g.boundary(cells);
        expect_tiles(g, edges, cells.size(), triangulate_region(edges, g.view()));
        if (HasFailure()) {
            ADD_FAILURE() << "seed " << seed;
            return;
        }
    }
}

TEST(Triangulate, RefusesABoundaryThatDoesNotClose) {
    Grid g(2);
    std::vector<Edge> edges = g.boundary({{0, 0}, {1, 1}, {0, 1}});
    edges.pop_back();
    EXPECT_PANIC_KIND(triangulate_region(edges, g.view()), PanicKind::not_manifold);
}

}  // namespace
}  // namespace corv::mesh
