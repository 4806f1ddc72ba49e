// Points lying inside segments: an index of the points the mesh keeps, so
// that every kept point on a region's side becomes a vertex of that side and
// neighbouring faces meet edge to edge.
#pragma once

#include <cstdint>
#include <vector>

#include "core/vec3.h"

namespace corv::mesh {

struct PointIndex {
    const std::vector<Vec3>* points;
    const std::vector<Float3>* fpoints;
    std::vector<std::uint32_t> by_x;  // the indexed points, by their double x
};

PointIndex point_index(const std::vector<Vec3>& points, const std::vector<Float3>& fpoints,
                       std::vector<std::uint32_t> ids);

// The indexed points strictly inside the segment a-b, in order from a to b.
std::vector<std::uint32_t> points_inside(const PointIndex& index, std::uint32_t a, std::uint32_t b);

}  // namespace corv::mesh
