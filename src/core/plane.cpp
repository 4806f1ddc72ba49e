#include "core/plane.h"

namespace corv {

Plane Plane::from_points(const Vec3& a, const Vec3& b, const Vec3& c) {
    Vec3 n = cross(sub(b, a), sub(c, a));
    Rational w = dot(n, a);
    return {std::move(n), std::move(w)};
}

int Plane::side(const Vec3& p) const {
    // Terms whose normal component is zero add nothing: planes along the
    // axes (most of a machined part's) then cost one product.
    Rational s;
    for (std::size_t i = 0; i < 3; ++i) {
        const Rational& n = normal[i];
        if (!n.is_zero()) s = s.is_zero() ? n * p[i] : s + n * p[i];
    }
    auto c = s <=> offset;
    return c < 0 ? -1 : (c > 0 ? 1 : 0);
}

}  // namespace corv
