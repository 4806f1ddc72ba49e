// A plane scaled to integers, for exact sides and crossing points in 128-bit
// integers when every coordinate involved is a small fraction. Each answer
// is the exact one; when a value is too big for this path (or a step could
// overflow) nothing is returned and the caller computes in Rationals.
#pragma once

#include <cstdint>
#include <optional>

#include "core/plane.h"

namespace corv {

// N = m n and W = m w, for the lcm m of the denominators of the plane's
// normal n and offset w; each below 2^62 in magnitude.
struct IntegerPlane {
    std::int64_t normal[3];
    std::int64_t offset;
    int bits;  // |N_k|, |W| < 2^bits
};

// Nothing when a denominator or a scaled value passes 2^62.
std::optional<IntegerPlane> integer_plane(const Plane& plane);

// The sign of n.p - w: Plane::side.
std::optional<int> integer_side(const IntegerPlane& plane, const Vec3& p);

// The point where the edge from vi to vj meets the plane (ends strictly on
// opposite sides): the value edge_intersection gives.
std::optional<Vec3> integer_crossing(const IntegerPlane& plane, const Vec3& vi, const Vec3& vj);

// The plane scaled by a positive factor to coprime integer coefficients
// (facing the same way): the smallest numbers that describe it, so that
// points made on it stay as short as they can. A zero plane stays zero.
Plane primitive_plane(const Plane& plane);

// The same for a plane given as Rationals.
std::optional<Vec3> small_edge_intersection(const Plane& plane, const Vec3& vi, const Vec3& vj);

}  // namespace corv
