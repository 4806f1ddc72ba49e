// Triangulates a region of one plane without new points: monotone pieces
// (see monotone.h), each triangulated by the classic stack walk along its
// two chains. Exact predicates throughout.
#pragma once

#include <array>
#include <vector>

#include "mesh/coverage.h"

namespace corv::mesh {

using Triangle = std::array<std::uint32_t, 3>;

// Triangles counter-clockwise in the frame, covering the region (given as
// in monotone_diagonals) exactly once; every edge of the region is a side
// of exactly one triangle. An inconsistent region throws Panic (not_manifold).
std::vector<Triangle> triangulate_region(const std::vector<Edge>& edges, const PlanarView& view);

// The loops bounding the pieces cut out by the edges and the diagonals
// (both ways), each counter-clockwise. At a vertex where several pieces
// meet, a walk turns into the piece on its left.
std::vector<std::vector<std::uint32_t>> piece_loops(const std::vector<Edge>& edges, const std::vector<Edge>& diagonals,
                                                    const PlanarView& view);

// Appends the triangles of one counter-clockwise monotone loop.
void triangulate_monotone(const std::vector<std::uint32_t>& loop, const PlanarView& view, std::vector<Triangle>& out);

}  // namespace corv::mesh
