// Shared pieces of the two plane sweeps (coverage and monotone pieces): the
// sweep runs over the vertices in the frame's lexicographic order, and each
// segment is active from its lo end to its hi end.
#pragma once

#include <cstdint>
#include <vector>

#include "core/planar.h"

namespace corv::mesh {

struct SweepSegment {
    std::uint32_t lo, hi;  // lo before hi in lexicographic order
};

// The vertices of the segments in sweep order, each with the segments that
// end there and those that start there.
struct SweepEvents {
    std::vector<std::uint32_t> vertices;
    std::vector<std::uint32_t> ending_begin, starting_begin;  // CSR offsets, one past the last entry too
    std::vector<std::uint32_t> ending, starting;              // segment indices
};

SweepEvents sweep_events(const std::vector<SweepSegment>& segments, const PlanarView& view);

// Whether segment n, starting at its lo end v, passes below the active
// segment e near v (e may pass through v, or start there too).
bool starts_below(const std::vector<SweepSegment>& segments, std::uint32_t n, std::uint32_t e, const PlanarView& view);

}  // namespace corv::mesh
