#include "bevel/end_clips.h"

#include <string>

#include "core/panic.h"
#include "edges/edge_measures.h"

namespace corv {
namespace {

HalfSpace face_clip(const BevelContext& ctx, std::size_t e, int end, const FaceNext& n) {
    const EdgeFace& beyond = ctx.edges[n.edge].faces[static_cast<std::size_t>(1 - n.side)];
    return keep(beyond.plane, end_point(ctx.edges[e], 1 - end), beyond.label, "the plane of a face at a bevel's end");
}

HalfSpace across(const BevelContext& ctx, std::size_t e, int end) {
    const Vec3 out = out_of(ctx.edges[e], end);
    return keep(Plane{out, dot(out, end_point(ctx.edges[e], end))}, end_point(ctx.edges[e], 1 - end), "chamfer",
                "the square end of a bevel");
}

HalfSpace miter(const BevelContext& ctx, std::size_t e, int end, std::size_t g) {
    const Vec3& v = end_point(ctx.edges[e], end);
    return keep(miter_plane(ctx.bevels[e]->plane, ctx.bevels[g]->plane, v), end_point(ctx.edges[e], 1 - end), "chamfer",
                "a miter between two bevels");
}

void add_once(std::vector<HalfSpace>& cuts, HalfSpace h) {
    for (const HalfSpace& c : cuts) {
        if (c.plane == h.plane) return;
    }
    cuts.push_back(std::move(h));
}

// Whether every edge at the end's vertex is of the edge's kind.
bool uniform_star(const BevelContext& ctx, std::size_t e, int end) {
    const VertexStar& star = ctx.links.stars[ctx.links.star_of[e][static_cast<std::size_t>(end)]];
    for (const EdgeEnd& at : star.ends) {
        if (ctx.edges[at.edge].convex != ctx.edges[e].convex) return false;
    }
    return true;
}

}  // namespace

Plane miter_plane(const Plane& a, const Plane& b, const Vec3& v) {
    const Vec3 m = cross(a.normal, b.normal);
    std::optional<Vec3> q;
    if (!norm1(m).is_zero()) q = meet(a, b, Plane{m, dot(m, v)});
    const Vec3 n = q ? cross(sub(*q, v), m) : Vec3{};
    if (norm1(n).is_zero()) {
        throw Panic(PanicKind::invalid_argument,
                    "chamfer: two bevels meeting at " + plain_point_text(v) + " do not cross in a line beside it");
    }
    return Plane{n, dot(n, v)};
}

Alternatives end_clips(const BevelContext& ctx, std::size_t e, int end) {
    const SolidEdge& edge = ctx.edges[e];
    const auto& next = ctx.links.next[e][static_cast<std::size_t>(end)];
    bool same[2], chosen[2];
    for (int s = 0; s < 2; ++s) {
        const FaceNext& n = next[static_cast<std::size_t>(s)];
        same[s] = ctx.edges[n.edge].convex == edge.convex;
        chosen[s] = ctx.bevels[n.edge].has_value();
    }
    if (next[0].straight || next[1].straight) {
        // One face runs on straight past the vertex: the piece ends square
        // across the edge (meeting a bevelled neighbour of its kind on the
        // other side at their miter).
        std::vector<HalfSpace> cuts{across(ctx, e, end)};
        for (int s = 0; s < 2; ++s) {
            const FaceNext& n = next[static_cast<std::size_t>(s)];
            if (!n.straight && same[s] && chosen[s]) cuts.push_back(miter(ctx, e, end, n.edge));
        }
        return {cuts};
    }
    if (uniform_star(ctx, e, end)) {
        // A convex corner (or a concave one): the solid there (or what is
        // outside it) is convex, so the pieces may overlap freely; each
        // stops at the planes of the faces beyond its neighbours.
        std::vector<HalfSpace> cuts{face_clip(ctx, e, end, next[0])};
        add_once(cuts, face_clip(ctx, e, end, next[1]));
        return {cuts};
    }
    if (same[0] || same[1]) {
        std::vector<HalfSpace> cuts;
        for (int s = 0; s < 2; ++s) {
            const FaceNext& n = next[static_cast<std::size_t>(s)];
            if (!same[s]) continue;
            add_once(cuts, chosen[s] ? miter(ctx, e, end, n.edge) : face_clip(ctx, e, end, n));
        }
        return {cuts};
    }
    const std::size_t g0 = next[0].edge, g1 = next[1].edge;
    if (chosen[0] && chosen[1]) {
        const Vec3& v = end_point(edge, end);
        const Plane split = miter_plane(ctx.bevels[g0]->plane, ctx.bevels[g1]->plane, v);
        const SolidEdge& e0 = ctx.edges[g0];
        const Vec3 along_g0 = add(v, end_point(e0, 0) == v ? sub(e0.end, v) : sub(e0.start, v));
        const HalfSpace side0 = keep(split, along_g0, "chamfer", "the miter of two bevels");
        return {{side0, kept_side(*ctx.bevels[g0])}, {other_side(side0, "chamfer"), kept_side(*ctx.bevels[g1])}};
    }
    if (chosen[0] || chosen[1]) {
        const int s = chosen[0] ? 0 : 1;
        const FaceNext& other = next[static_cast<std::size_t>(1 - s)];
        return {{kept_side(*ctx.bevels[next[static_cast<std::size_t>(s)].edge]), face_clip(ctx, e, end, other)}};
    }
    std::vector<HalfSpace> cuts{face_clip(ctx, e, end, next[0])};
    add_once(cuts, face_clip(ctx, e, end, next[1]));
    return {cuts};
}

}  // namespace corv
