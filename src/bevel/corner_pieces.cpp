#include "bevel/corner_pieces.h"

#include <algorithm>
#include <array>

#include "core/panic.h"

namespace corv {
namespace {

// The faces of a tetrahedron by its corners, each with the corner it faces.
constexpr std::size_t kTetraFaces[4][4] = {{0, 1, 2, 3}, {0, 1, 3, 2}, {0, 2, 3, 1}, {1, 2, 3, 0}};

// The edges round the vertex, one cycle per cone of the solid there (two
// boxes touching at a corner give two), each turning from an edge into its
// face 0; a walk that does not close within the star's size is dropped.
std::vector<std::vector<std::size_t>> cycles_at(const BevelContext& ctx, const VertexStar& star) {
    std::vector<std::vector<std::size_t>> cycles;
    std::vector<std::size_t> seen;
    for (const EdgeEnd& start : star.ends) {
        if (std::find(seen.begin(), seen.end(), start.edge) != seen.end()) continue;
        std::vector<std::size_t> cycle;
        std::size_t e = start.edge;
        int end = start.end, side = 0;
        do {
            cycle.push_back(e);
            const FaceNext& n = ctx.links.next[e][static_cast<std::size_t>(end)][static_cast<std::size_t>(side)];
            e = n.edge;
            side = 1 - n.side;
            end = ctx.edges[e].start == star.point ? 0 : 1;
        } while ((e != start.edge || side != 0) && cycle.size() <= star.ends.size());
        seen.insert(seen.end(), cycle.begin(), cycle.end());
        if (e == start.edge && side == 0) cycles.push_back(std::move(cycle));
    }
    return cycles;
}

// Where the bevel lines meet in each face round the cycle, or nothing.
std::optional<std::vector<Vec3>> corner_points(const BevelContext& ctx, const VertexStar& star,
                                               const std::vector<std::size_t>& cycle) {
    std::vector<Vec3> points;
    int side = 0;
    for (std::size_t i = 0; i < cycle.size(); ++i) {
        const std::size_t e = cycle[i], g = cycle[(i + 1) % cycle.size()];
        const int end = ctx.edges[e].start == star.point ? 0 : 1;
        std::optional<Vec3> q =
            meet(ctx.bevels[e]->plane, ctx.bevels[g]->plane, ctx.edges[e].faces[static_cast<std::size_t>(side)].plane);
        if (!q) return std::nullopt;
        points.push_back(std::move(*q));
        side = 1 - ctx.links.next[e][static_cast<std::size_t>(end)][static_cast<std::size_t>(side)].side;
    }
    return points;
}

}  // namespace

std::optional<std::vector<HalfSpace>> tetrahedron(const std::array<Vec3, 4>& p) {
    std::vector<HalfSpace> out;
    for (const auto& f : kTetraFaces) {
        const Plane plane = plane_through(p[f[0]], sub(p[f[1]], p[f[0]]), sub(p[f[2]], p[f[0]]));
        if (plane.side(p[f[3]]) == 0) return std::nullopt;
        out.push_back(keep(plane, p[f[3]], "chamfer", "a corner piece's face"));
    }
    return out;
}

std::vector<CornerPieces> corner_pieces(const BevelContext& ctx, std::size_t star_index) {
    const VertexStar& star = ctx.links.stars[star_index];
    std::vector<CornerPieces> out;
    for (const std::vector<std::size_t>& cycle : cycles_at(ctx, star)) {
        if (cycle.size() < 3) continue;
        const bool convex = ctx.edges[cycle.front()].convex;
        bool alike = true;
        for (std::size_t e : cycle) alike = alike && ctx.bevels[e] && ctx.edges[e].convex == convex;
        if (!alike) continue;
        const std::optional<std::vector<Vec3>> q = corner_points(ctx, star, cycle);
        if (!q) continue;
        CornerPieces pieces{{}, convex};
        for (std::size_t i = 1; i + 1 < q->size(); ++i) {
            if (auto t = tetrahedron({star.point, (*q)[0], (*q)[i], (*q)[i + 1]})) {
                pieces.tetrahedra.push_back(std::move(*t));
            }
        }
        out.push_back(std::move(pieces));
    }
    return out;
}

}  // namespace corv
