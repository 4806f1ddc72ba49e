#include "local/containment.h"

#include "core/guard.h"
#include "core/planar.h"
#include "local/winding.h"

namespace corv::local {
namespace {

// Whether p, a point of the polygon's plane, lies in the closed polygon:
// crossing parity in the plane's frame, an edge through p counting as in.
bool in_closed_polygon(const Polygon& poly, const Vec3& p) {
    const Frame f = frame_for(poly.plane.normal);
    const auto& v = poly.vertices();
    bool inside = false;
    for (std::size_t i = 0, j = v.size() - 1; i < v.size(); j = i++) {
        const Rational &au = v[j][f.u], &av = v[j][f.v], &bu = v[i][f.u], &bv = v[i][f.v];
        const Rational &pu = p[f.u], &pv = p[f.v];
        const int o = ((bu - au) * (pv - av) - (bv - av) * (pu - au)).sign();
        if (o == 0 && (pu - au) * (pu - bu) <= Rational(0) && (pv - av) * (pv - bv) <= Rational(0)) return true;
        if ((av > pv) != (bv > pv)) {
            // The edge crosses the horizontal line through p: to p's right when
            // p is on the left of the upward edge.
            const bool upward = bv > av;
            if ((o > 0) == upward) inside = !inside;
        }
    }
    return inside;
}

}  // namespace

Containment containment(const Solid& s, const Vec3& p) {
    for (const Polygon& poly : s.polygons) {
        guard::poll(static_cast<std::int64_t>(poly.vertices().size()));
        if (poly.plane.side(p) == 0 && in_closed_polygon(poly, p)) return Containment::boundary;
    }
    const Perturbation d = perturbation_of(Vec3{0, 0, 1});
    const Float3 fp = to_f3(p);
    int winding = 0;
    for (const Polygon& poly : s.polygons) {
        const Vec3& n = poly.plane.normal;
        if (n.z.is_zero()) continue;
        // Above p when n . p < offset for an upward normal (the plane's height
        // at p's x and y exceeds p's z), the other way round for a downward one.
        const int above = (poly.plane.offset - dot(n, p)).sign() * n.z.sign();
        if (above <= 0) continue;
        if (projection_contains(poly, p, fp, d)[0]) winding += n.z.sign();
    }
    return winding > 0 ? Containment::inside : Containment::outside;
}

}  // namespace corv::local
