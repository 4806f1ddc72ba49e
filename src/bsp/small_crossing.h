// The crossing point of an edge with a plane in 128-bit integers, for the
// common case where every coordinate is a small fraction.
#pragma once

#include <optional>

#include "core/plane.h"

namespace corv {

// The point where the edge from vi to vj meets the plane (ends strictly on
// opposite sides), exactly: the value edge_intersection gives. Nothing when
// a value is too big for the integer path or a step would overflow; the
// caller then computes it in Rationals.
std::optional<Vec3> small_edge_intersection(const Plane& plane, const Vec3& vi, const Vec3& vj);

}  // namespace corv
