// Plane: an oriented plane dot(normal, p) = offset; the normal is not normalised.
#pragma once

#include "core/vec3.h"

namespace corv {

struct Plane {
    Vec3 normal;
    Rational offset;

    // normal = (b - a) x (c - a), offset = normal . a; collinear points give
    // the zero plane.
    static Plane from_points(const Vec3& a, const Vec3& b, const Vec3& c);
    // +1 in front (the side the normal points to), 0 on the plane, -1 behind.
    int side(const Vec3& p) const;
    Plane negated() const { return {neg(normal), -offset}; }
    friend bool operator==(const Plane&, const Plane&) = default;
};

}  // namespace corv
