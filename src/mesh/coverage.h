// The faces of one plane group: a sweep over its net boundary finds the
// signed coverage on both sides of every segment, and with it the regions
// covered +1 (the face looks along the canonical normal: front) and -1 (it
// looks against it: back). Coverage 0 is no face: coincident opposite faces
// cancel there.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "mesh/boundary.h"

namespace corv::mesh {

using Edge = std::array<std::uint32_t, 2>;

struct Coverage {
    // Directed edges with the region on their left in the frame (so the
    // front region's outer loops run counter-clockwise and the back region's
    // too: the back faces are turned over only when triangles are emitted).
    std::vector<Edge> front, back;
};

// Coverage beyond -1 .. 1 (a face covered twice) throws Panic (not_manifold).
Coverage coverage(const std::vector<NetSegment>& segments, const PlanarView& view);

}  // namespace corv::mesh
