// Polygons grouped by the exact (unoriented) plane they lie in.
#pragma once

#include <cstdint>
#include <vector>

#include "core/planar.h"
#include "mesh/soup.h"

namespace corv::mesh {

struct PlaneGroup {
    Vec3 normal;                          // the canonical normal (integers, gcd 1)
    Frame frame;                          // from the canonical normal
    std::vector<std::uint32_t> polygons;  // soup indices, in soup order
};

// Groups in order of first appearance. A polygon whose stored plane is zero
// (its first three points in a line) is placed by the plane of its loop;
// loops of no area are left out (their sides cancel among themselves).
std::vector<PlaneGroup> plane_groups(const Soup& soup);

// The label of the group's first polygon whose loop turns counter-clockwise
// seen from along the canonical normal (back: from against it). Loops, not
// stored planes, decide: a stored plane faces the other way when it was
// taken at a reflex corner. UINT32_MAX when there is no such polygon.
std::uint32_t first_label_facing(const Soup& soup, const PlaneGroup& group, bool back);

}  // namespace corv::mesh
