// The net boundary of one plane group: every polygon side of the group, cut
// at every breakpoint on its line, with the sides running one way counted +1
// and the other way -1. Where the fragments of a face meet, their sides
// cancel; what is left bounds the regions where the polygons' signed
// coverage (+1 inside a loop running counter-clockwise in the frame, -1
// inside one running clockwise) changes.
#pragma once

#include <cstdint>
#include <vector>

#include "core/planar.h"
#include "mesh/plane_groups.h"

namespace corv::mesh {

struct NetSegment {
    std::uint32_t lo, hi;  // lo before hi in the frame's lexicographic order
    int count;             // sides running lo -> hi minus sides running hi -> lo; never 0
};

// Segments on one line do not overlap; they may meet at their ends.
std::vector<NetSegment> net_boundary(const Soup& soup, const PlaneGroup& group, const PlanarView& view);

}  // namespace corv::mesh
