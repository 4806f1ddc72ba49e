// Where a point lies with respect to a closed solid, exactly: on its
// boundary, inside (winding number at least one) or outside.
#pragma once

#include "core/solid.h"

namespace corv::local {

enum class Containment { outside, boundary, inside };

// On the boundary when the point lies in the closure of a polygon; else the
// winding number by a vertical ray from the point, moved off every edge and
// vertex by a symbolic perturbation within the xy plane (which cannot change
// the answer for a point off the boundary).
Containment containment(const Solid& s, const Vec3& p);

}  // namespace corv::local
