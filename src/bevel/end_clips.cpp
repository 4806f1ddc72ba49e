#include "bevel/end_clips.h"

#include <optional>
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

// Where bevel a is passed at least as far as bevel b, each bevel's reach
// f(x) = normal . x - offset (positive on the edge's side) taken relative
// to its reach at v: f_a(x) / f_a(v) >= f_b(x) / f_b(v), both reaches at v
// positive (v is on both edges). The plane holds v and the line where the
// bevels cross; nothing when the bevels are one plane.
std::optional<HalfSpace> farthest(const EdgeBevel& a, const EdgeBevel& b, const Vec3& v) {
    const Rational at_a = dot(a.plane.normal, v) - a.plane.offset, at_b = dot(b.plane.normal, v) - b.plane.offset;
    const Vec3 n = sub(smul(at_a, b.plane.normal), smul(at_b, a.plane.normal));
    if (n == Vec3{}) return std::nullopt;
    return HalfSpace{Plane{n, at_a * b.plane.offset - at_b * a.plane.offset}, "chamfer"};
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

std::vector<HalfSpace> uniform_limits(const BevelContext& ctx, std::size_t e, int end) {
    const auto& next = ctx.links.next[e][static_cast<std::size_t>(end)];
    std::vector<HalfSpace> out;
    if (next[0].straight || next[1].straight || !uniform_star(ctx, e, end)) return out;
    for (const FaceNext& n : next) {
        if (!ctx.bevels[n.edge]) continue;
        if (auto h = farthest(*ctx.bevels[e], *ctx.bevels[n.edge], end_point(ctx.edges[e], end))) {
            add_once(out, std::move(*h));
        }
    }
    return out;
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
