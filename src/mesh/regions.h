// A region: the part of one plane covered +1 or -1, as directed edges with
// the region on their left in the group's frame. Its vertices are first
// reduced to true corners (a vertex in the middle of a straight run is
// dropped unless it is a corner of some other region), then every kept
// point on one of its sides is put into that side.
#pragma once

#include <cstdint>
#include <vector>

#include "mesh/coverage.h"
#include "mesh/tjunctions.h"

namespace corv::mesh {

struct Region {
    std::uint32_t group;
    bool back;  // faces against the group's canonical normal
    std::uint32_t label;
    std::vector<Edge> edges;
};

// Per-point scratch arrays, reset after each use, so regions are processed
// in time proportional to their size.
struct PointScratch {
    std::vector<std::uint32_t> out_to, in_from;
    std::vector<std::uint8_t> out_degree, in_degree;
    explicit PointScratch(std::size_t points)
        : out_to(points), in_from(points), out_degree(points, 0), in_degree(points, 0) {}
};

// Sets corner[v] for every vertex where the region's boundary turns,
// branches or meets itself.
void mark_corners(const Region& region, const PlanarView& view, PointScratch& scratch,
                  std::vector<std::uint8_t>& corner);

// Replaces the edges by straight runs between corners, each cut at the
// kept points inside it.
void straighten(Region& region, const std::vector<std::uint8_t>& corner, const PointIndex& kept, PointScratch& scratch);

}  // namespace corv::mesh
