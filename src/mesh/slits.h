// A face may pass flat through a line where other faces of the solid meet
// (two parts of a solid touching along an edge that lies in a face of a
// third). A manifold mesh needs that line as a side of the face's
// triangles, so that each sheet of the surface can be given its own copy of
// the line; the triangulation of the face's region knows nothing of the
// other faces and may run triangles across it. The line is then cut into
// the region afterwards, without new points: the triangles it crosses are
// taken out and the hole they leave, split along the line, is triangulated
// again. Where the line ends inside the face, its end (a vertex of other
// faces) becomes a vertex of the face's triangles too.
#pragma once

#include <vector>

#include "mesh/triangulate.h"

namespace corv::mesh {

// Makes the segment a-b (points of the region's plane; triangles
// counter-clockwise in the frame) a side of the triangles where it crosses
// them; false when it crosses none. A vertex inside the segment throws Panic (not_manifold).
bool cut_along(std::vector<Triangle>& triangles, std::uint32_t a, std::uint32_t b, const PlanarView& view);

}  // namespace corv::mesh
