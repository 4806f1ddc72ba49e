// The pairs of a mesh's triangles whose float boxes meet, found in a
// uniform grid over the mesh's box (each pair once, in the cell where the
// overlap of the two boxes starts), less the pairs that share a corner
// whose fan is plain: those meet only where they share.
#pragma once

#include <cstdint>
#include <functional>
#include <vector>

#include "mesh/triangle_screens.h"

namespace corv {

// Calls visit(a, b), a < b, for each such pair; bit c of plain[t] says that
// corner c of triangle t has a plain fan. The order of the calls is fixed
// by the mesh, though not sorted.
void box_pairs(const std::vector<ScreenedTriangle>& triangles, const std::vector<std::uint8_t>& plain,
               const std::function<void(std::uint32_t, std::uint32_t)>& visit);

}  // namespace corv
