#include "bevel/corner_pieces.h"

#include <array>

#include "core/panic.h"

namespace corv {
namespace {

// The faces of a tetrahedron by its corners, each with the corner it faces.
constexpr std::size_t kTetraFaces[4][4] = {{0, 1, 2, 3}, {0, 1, 3, 2}, {0, 2, 3, 1}, {1, 2, 3, 0}};

// The points where the bevel lines meet in each face, going round the
// vertex from its first edge; empty when the faces do not go round once.
std::vector<Vec3> corner_points(const BevelContext& ctx, const VertexStar& star) {
    std::vector<Vec3> points;
    const std::size_t first = star.ends.front().edge;
    std::size_t e = first;
    int end = star.ends.front().end, side = 0;
    do {
        if (points.size() == star.ends.size()) return {};
        const FaceNext& n = ctx.links.next[e][static_cast<std::size_t>(end)][static_cast<std::size_t>(side)];
        std::optional<Vec3> q = meet(ctx.bevels[e]->plane, ctx.bevels[n.edge]->plane,
                                     ctx.edges[e].faces[static_cast<std::size_t>(side)].plane);
        if (!q) return {};
        points.push_back(std::move(*q));
        e = n.edge;
        side = 1 - n.side;
        end = ctx.edges[e].start == star.point ? 0 : 1;
    } while (e != first || side != 0);
    return points.size() == star.ends.size() ? points : std::vector<Vec3>{};
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

std::optional<CornerPieces> corner_pieces(const BevelContext& ctx, std::size_t star_index) {
    const VertexStar& star = ctx.links.stars[star_index];
    if (star.ends.size() < 3) return std::nullopt;
    const bool convex = ctx.edges[star.ends.front().edge].convex;
    for (const EdgeEnd& at : star.ends) {
        if (!ctx.bevels[at.edge] || ctx.edges[at.edge].convex != convex) return std::nullopt;
    }
    const std::vector<Vec3> q = corner_points(ctx, star);
    if (q.empty()) return std::nullopt;
    CornerPieces pieces{{}, convex};
    for (std::size_t i = 1; i + 1 < q.size(); ++i) {
        if (auto t = tetrahedron({star.point, q[0], q[i], q[i + 1]})) pieces.tetrahedra.push_back(std::move(*t));
    }
    return pieces;
}

}  // namespace corv
