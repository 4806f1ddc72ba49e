// Polygons grouped by the exact (unoriented) plane they lie in.
#pragma once

#include <cstdint>
#include <vector>

#include "mesh/planar.h"
#include "mesh/soup.h"

namespace corv::mesh {

struct PlaneGroup {
    Frame frame;                          // from the group's canonical normal
    std::vector<std::uint32_t> polygons;  // soup indices, in soup order
    // The label of the first polygon facing along (front) and against (back)
    // the canonical normal, or UINT32_MAX when there is none.
    std::uint32_t front_label = UINT32_MAX, back_label = UINT32_MAX;
};

// Groups in order of first appearance. Polygons whose plane has a zero
// normal are left out.
std::vector<PlaneGroup> plane_groups(const Soup& soup);

}  // namespace corv::mesh
