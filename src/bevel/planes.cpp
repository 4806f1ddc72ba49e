#include "bevel/planes.h"

#include "core/panic.h"

namespace corv {

HalfSpace keep(const Plane& plane, const Vec3& inside, std::string label, const char* what) {
    const int side = plane.side(inside);
    if (side == 0) {
        throw Panic(PanicKind::invalid_argument, std::string("chamfer: ") + what + " passes through " +
                                                     plain_point_text(inside) +
                                                     ", the point it should keep on one side");
    }
    return HalfSpace{side < 0 ? plane : plane.negated(), std::move(label)};
}

HalfSpace other_side(const HalfSpace& h, std::string label) { return HalfSpace{h.plane.negated(), std::move(label)}; }

Plane plane_through(const Vec3& p, const Vec3& u, const Vec3& v) {
    Vec3 n = cross(u, v);
    Rational offset = dot(n, p);
    return Plane{std::move(n), std::move(offset)};
}

std::optional<Vec3> meet(const Plane& a, const Plane& b, const Plane& c) {
    // Cramer's rule: x = (w_a (n_b x n_c) + w_b (n_c x n_a) + w_c (n_a x n_b)) / det.
    const Vec3 bc = cross(b.normal, c.normal);
    const Rational det = dot(a.normal, bc);
    if (det.is_zero()) return std::nullopt;
    const Vec3 sum = add(add(smul(a.offset, bc), smul(b.offset, cross(c.normal, a.normal))),
                         smul(c.offset, cross(a.normal, b.normal)));
    return smul(Rational(1) / det, sum);
}

}  // namespace corv
