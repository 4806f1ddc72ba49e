#include "bevel/edge_bevel.h"

#include "bevel/setback.h"
#include "core/panic.h"
#include "edges/edge_measures.h"

namespace corv {

EdgeBevel edge_bevel(const SolidEdge& edge, const Rational& dist) {
    EdgeBevel b;
    b.exact = true;
    for (int i = 0; i < 2; ++i) {
        const Vec3 w = inward(edge, i);
        const Setback s = setback_scale(dist, dot(w, w));
        b.step[static_cast<std::size_t>(i)] = smul(s.scale, w);
        b.exact = b.exact && s.exact;
    }
    const Vec3 dir = edge_direction(edge);
    const Vec3 on_line = add(edge.start, b.step[0]);
    b.plane = plane_through(on_line, dir, sub(b.step[1], b.step[0]));
    if (b.plane.side(edge.start) < 0) b.plane = b.plane.negated();
    return b;
}

HalfSpace kept_side(const EdgeBevel& bevel) { return HalfSpace{bevel.plane, "chamfer"}; }

HalfSpace edge_side(const EdgeBevel& bevel) { return HalfSpace{bevel.plane.negated(), "chamfer"}; }

std::array<HalfSpace, 3> edge_prism(const SolidEdge& edge, const EdgeBevel& bevel, bool flush) {
    const Vec3 dir = edge_direction(edge);
    const Vec3& e = edge.start;
    const Vec3 l0 = add(e, bevel.step[0]), l1 = add(e, bevel.step[1]);
    // The corner at the edge, pushed away from the bevel's middle.
    const Vec3 apex = flush ? e : sub(e, smul(Rational(1, 2), add(bevel.step[0], bevel.step[1])));
    const Vec3 centre = smul(Rational(1, 3), add(add(apex, l0), l1));
    return {
        edge_side(bevel),
        keep(plane_through(l0, dir, sub(apex, l0)), centre, edge.faces[0].label, "the side of a bevel piece"),
        keep(plane_through(l1, dir, sub(apex, l1)), centre, edge.faces[1].label, "the side of a bevel piece"),
    };
}

}  // namespace corv
