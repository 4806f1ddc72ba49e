#include "core/plane.h"

namespace corv {

Plane Plane::from_points(const Vec3& a, const Vec3& b, const Vec3& c) {
    Vec3 n = cross(sub(b, a), sub(c, a));
    Rational w = dot(n, a);
    return {std::move(n), std::move(w)};
}

int Plane::side(const Vec3& p) const {
    auto c = dot(normal, p) <=> offset;
    return c < 0 ? -1 : (c > 0 ? 1 : 0);
}

}  // namespace corv
