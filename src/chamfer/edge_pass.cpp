#include "chamfer/edge_pass.h"

#include "bsp/cut_chain.h"
#include "canonical/canonical.h"
#include "chamfer/cutters.h"
#include "core/guard.h"
#include "core/measures.h"
#include "core/panic.h"

namespace corv {
namespace {

Vec3 rational_unit_normal(const Plane& plane) {
    std::optional<Vec3> n = unit_normal(plane);
    if (!n) throw ValueFailure(kNonRationalNormal);
    return std::move(*n);
}

// The direction in `in`'s plane, perpendicular to the edge, that points from
// the edge to the back of `other` (same length as the edge direction d).
Vec3 in_face_direction(const Vec3& d, const Vec3& n_in, const Plane& other, const Vec3& p) {
    Vec3 u = cross(d, n_in);
    if (other.side(add(p, u)) > 0) u = neg(u);
    return u;
}

}  // namespace

Rational cutter_reach(const Solid& solid) {
    const auto [lo, hi] = bbox(solid.polygons);
    return (hi.x - lo.x) + (hi.y - lo.y) + (hi.z - lo.z) + Rational(1);
}

std::optional<Solid> edge_cutter(const Edge& edge, const Rational& dist, const Rational& reach) {
    const Vec3 na = rational_unit_normal(edge.plane_a);
    const Vec3 nb = rational_unit_normal(edge.plane_b);
    const Vec3& p = edge.point;
    const Vec3& d = edge.dir;

    const Vec3 ua = in_face_direction(d, na, edge.plane_b, p);
    const Vec3 ub = in_face_direction(d, nb, edge.plane_a, p);
    if (!(edge.plane_b.side(add(p, ua)) < 0 && edge.plane_a.side(add(p, ub)) < 0)) {
        return std::nullopt;
    }

    const Vec3 ea = add(p, smul(dist, ua));
    const Vec3 eb = add(p, smul(dist, ub));
    const Vec3 ch = sub(eb, ea);
    if (ch.x.is_zero() && ch.y.is_zero() && ch.z.is_zero()) return std::nullopt;

    const Rational half(Rational(1) / Rational(2));
    Vec3 m = smul(half, add(ea, eb));
    const Vec3 e = smul(reach / norm1(d), d);
    const Vec3 g = smul(reach / norm1(ch), ch);
    const Vec3 h = smul(Rational(2), sub(p, m));

    // The cutter is a prism along d over the chord, centred level with the
    // edge's point. Its reach along the edge, in positions dot(., d), is
    // t_p -+ dd * reach / (2 |d|_1). When that leaves part of the edge's
    // extent uncovered, centre the cutter on the middle of the extent
    // instead: the extent's L1 length is below the reach, so it then fits
    // with room at both ends, and the cross-section is the same.
    const Rational dd = dot(d, d);
    const Rational t_p = dot(p, d);
    const Rational half_reach = dd * reach / (Rational(2) * norm1(d));
    if (edge.t_min < t_p - half_reach || edge.t_max > t_p + half_reach) {
        const Rational t_mid = (edge.t_min + edge.t_max).halved();
        m = add(m, smul((t_mid - t_p) / dd, d));
    }

    const Vec3 o = sub(sub(m, smul(half, e)), smul(half, g));
    return parallelepiped(o, e, g, h, "chamfer");
}

void edge_pass(const Solid& solid, const std::vector<Edge>& edges, const Rational& dist, bsp::CutChain& chain) {
    const Rational reach = cutter_reach(solid);
    std::uint64_t done = 0;
    for (const Edge& edge : edges) {
        guard::progress("chamfer", done++, edges.size());
        guard::poll();
        std::optional<Solid> cutter = edge_cutter(edge, dist, reach);
        if (!cutter) continue;
        chain.cut(std::move(*cutter));
    }
}

}  // namespace corv
