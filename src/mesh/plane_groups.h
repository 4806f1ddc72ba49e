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

// Groups in order of first appearance. A polygon whose stored plane is zero
// (its first three points in a line) is placed by the plane of its loop;
// loops of no area are left out (their sides cancel among themselves).
std::vector<PlaneGroup> plane_groups(const Soup& soup);

}  // namespace corv::mesh
