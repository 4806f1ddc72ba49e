// The chamfer of chosen edges of any closed solid. Each chosen edge is
// replaced by a flat face, its bevel, meeting each of the edge's two faces
// along a line at dist from the edge (measured in that face, across the
// edge): at a convex edge the corner is cut away, at a concave edge the
// notch is filled. Where chosen edges meet, the bevels meet along miters
// (end_clips.h); a corner where every edge is bevelled and all are convex
// (or all concave) is cut off (or filled) by the plane through the points
// where the bevel lines meet in its faces (corner_pieces.h). Edges not
// chosen stay sharp. Bevel faces are labelled "chamfer", every other face
// keeps its label.
//
// The pieces are convex polyhedra, cut away from and added to the solid by
// the localized engine in one pass each (fills first), so the result is an
// exact closed solid. Where a face of the edge has no rational unit
// direction across it, the bevel's line in that face lies within a relative
// 6e-17 of dist from the edge (setback.h); elsewhere exactly at dist.
//
// Refused (Panic, invalid_argument, naming the edge and the face): a dist
// that is not positive, one at which a face along a chosen edge would
// vanish or fall apart (face_limits.h; a convex and a concave chosen edge
// of one face may come closer, their bevels then merge), a piece that
// would reach another part of the solid (clearance.h). An empty solid is
// refused (empty_solid), an open one by solid_edges (not_manifold).
#pragma once

#include <cstddef>
#include <span>

#include "core/solid.h"

namespace corv {

// chosen: indices into solid_edges(solid), in any order (an index past the
// end throws Panic, kind index). None chosen gives the solid unchanged.
Solid bevel_edges(const Solid& solid, std::span<const std::size_t> chosen, const Rational& dist);

// Every edge.
Solid bevel_all_edges(const Solid& solid, const Rational& dist);

}  // namespace corv
