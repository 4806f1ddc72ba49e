// The fans of a closed mesh's vertices, screened in doubles: a vertex whose
// triangles, seen along an axis, all keep their area, turn the same way and
// wind around it once has plain triangles around it: any two of them meet
// only in what they share (the vertex, or an edge from it). The pair search
// then skips every pair that shares such a vertex.
#pragma once

#include <cstdint>
#include <vector>

#include "mesh/triangle_screens.h"

namespace corv {

// For each of the mesh's points, 1 when its fan is plain, as far as the
// doubles prove (0 proves nothing). Every edge of the mesh must have two
// triangles, so that the triangles around a point close up.
std::vector<std::uint8_t> plain_fans(std::size_t points, const std::vector<ScreenedTriangle>& triangles);

}  // namespace corv
