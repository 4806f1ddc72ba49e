// Contacts of two triangles of a mesh decided within one plane, seen along
// an axis where the plane keeps its area (exact orientations, screened in
// doubles first): triangles in the same plane, and a triangle that touches
// the other's plane without crossing it.
#pragma once

#include <array>

#include "mesh/triangle_contact.h"

namespace corv {

// Triangles a and b in one plane, sharing `shared` corners by index. An
// edge separates the interiors when the other triangle lies on its closed
// outer side, the closed triangles when it lies strictly outside; for two
// convex polygons such an edge exists whenever they are apart.
Contact coplanar_contact(const MeshView& m, std::size_t a, std::size_t b, int shared);

// Triangle b touches the plane of a without crossing it: sb holds the exact
// sides of its corners against that plane (0 for a shared one), all on one
// closed side and some, not all, on it. It meets the plane in P, the hull
// of its corners there: a and b meet where a and P do. From a shared
// corner V, P is a side leaving V inside a's angle there or not; else P is
// apart when its corners lie outside a side of a, or a's corners on one
// side of P's line. Never a crossing.
Contact flush_contact(const MeshView& m, std::size_t a, std::size_t b, const std::array<int, 3>& sb, int shared);

}  // namespace corv
