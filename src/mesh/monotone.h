// Cuts a region into pieces monotone in the sweep direction: a sweep over
// the region's vertices in lexicographic order adds a diagonal wherever the
// region's boundary turns back against the sweep (where the region splits
// or two parts of it merge), as in the classic monotone decomposition, but
// for any number of loops, holes touching each other or the outer loop at a
// vertex, and collinear runs of vertices.
#pragma once

#include <vector>

#include "mesh/coverage.h"

namespace corv::mesh {

// The region's edges have it on their left and no vertex of the region lies
// inside one of its edges; the diagonals join region vertices through its
// interior. An inconsistent region throws Panic (not_manifold).
std::vector<Edge> monotone_diagonals(const std::vector<Edge>& edges, const PlanarView& view);

}  // namespace corv::mesh
