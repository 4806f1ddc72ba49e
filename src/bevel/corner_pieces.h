// The corner of a vertex where every edge is bevelled and all of them are
// convex (or all concave): besides the edges' pieces, the corner is cut off
// (or filled) by the cone from the vertex over the points where the bevel
// lines meet in each face, so it ends in the plane through those points
// (a triangle at a corner of three edges, as at a box's corner). The cone
// is made of tetrahedra fanned from the first of the points.
#pragma once

#include <cstddef>
#include <optional>
#include <vector>

#include "bevel/end_clips.h"

namespace corv {

struct CornerPieces {
    std::vector<std::vector<HalfSpace>> tetrahedra;
    bool convex;  // cut away (true) or filled
};

// One per cone of the solid at the vertex (the edges round it in one
// cycle) that qualifies.
std::vector<CornerPieces> corner_pieces(const BevelContext& ctx, std::size_t star);

// The four half-spaces of the tetrahedron with these corners, or nothing
// when it is flat.
std::optional<std::vector<HalfSpace>> tetrahedron(const std::array<Vec3, 4>& p);

}  // namespace corv
