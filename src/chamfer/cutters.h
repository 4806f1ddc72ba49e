// The convex cutter solids the chamfer subtracts: a parallelepiped along an
// edge and a tetrahedron at a corner. Both come out outward-facing whatever
// the handedness of the vectors they are built from.
#pragma once

#include <string>

#include "core/solid.h"

namespace corv {

// Corners O + {0, E1, E1+E2, E2} and the same shifted by E3, faces
// prefix.b, .t, .f, .k, .r, .l (the box's face table with E1, E2, E3 as the
// x, y, z sides). Zero-area faces are dropped.
Solid parallelepiped(const Vec3& o, const Vec3& e1, const Vec3& e2, const Vec3& e3, const std::string& prefix);

// Faces prefix.a (P0 P1 P2), .b (P0 P2 P3), .c (P0 P3 P1), .d (P1 P3 P2).
// Zero-area faces are dropped.
Solid tetra(const Vec3& p0, const Vec3& p1, const Vec3& p2, const Vec3& p3, const std::string& prefix);

}  // namespace corv
