// The exact convex hull of points in space, as a closed solid of triangles.
#pragma once

#include <string>
#include <vector>

#include "core/solid.h"

namespace corv {

// The hull's faces as outward triangles labelled label (a flat face of the
// hull may come as several coplanar triangles). Points inside the hull or
// on its faces are not corners. Fewer than four points, or all of them in
// one plane, throw Panic (invalid_argument): such points bound no solid.
Solid convex_hull(const std::vector<Vec3>& points, const std::string& label);

}  // namespace corv
