// Facets of one operand that share an edge, lie in one plane and carry one
// label are merged into convex polygons before a Boolean: the caps of a
// many-sided prism or cylinder come as fans of thin triangles, whose boxes
// all reach across the cap, so every winding query and every coplanar
// contact over the cap would otherwise meet most of the fan. Only slivers
// (area under a quarter of their box's) are merged, and only where the
// merged box is well below the two boxes together: a convex cap becomes one
// polygon (but for a small triangle or two at the fan's apex), a region
// with reflex corners or holes a few convex ones (diagonals are removed
// greedily while both ends stay convex); faces already cut into chunky
// pieces are left alone, so Booleans that keep them share their loops.
//
// Only edges that exactly two facets of the operand share, running opposite
// ways, are removed; facets meeting at a T-junction or along an edge of
// three or more facets stay apart. Merging changes neither the solid nor
// its vertices: every merged loop runs through the same points.
#pragma once

#include <deque>
#include <span>
#include <vector>

#include "core/polygon.h"

namespace corv::local {

// The polygons of one operand (each with area and a non-zero plane), with
// merged groups replaced by one polygon each, placed at the first member's
// position; new polygons are appended to `made`, which must outlive the
// result.
std::vector<const Polygon*> merge_coplanar(std::span<const Polygon* const> polygons, std::deque<Polygon>& made);

}  // namespace corv::local
