// Where the bevel piece of an edge ends at one of its ends: what cuts it off
// there, chosen by what the edge meets in its two faces.
//
// Where every edge at the vertex is convex, the solid is convex there, and
// the chamfer there is the solid met by the bevels' half-spaces: the pieces
// may overlap, and each just stops at the planes of the faces beyond its
// neighbours (likewise where every edge is concave, for what lies outside
// the solid). Elsewhere each face of the edge goes on into a next edge. A
// neighbour of the same kind (both convex or both concave) that is bevelled
// too is met at the miter: the plane through the vertex and the line where
// the two bevel planes cross, so the bevels meet along that line. A
// neighbour of the same kind left sharp ends the piece at the plane of the
// face beyond it. Neighbours of the other kind set no end: the piece runs
// on until its own kind's ends stop it, unless both neighbours are of the
// other kind (the edge is the odd one at the vertex, as the inner vertical
// edge at the top of an L-bracket): then the piece ends under its
// neighbours' bevels, split by their miter when both are bevelled, so the
// bevels of the majority run over it (a neighbour left sharp ends it at the
// plane of the face beyond, as before). Where one of the edge's faces runs
// on straight past the vertex (only the other face changes there), the
// piece ends square across the edge.
#pragma once

#include <optional>
#include <vector>

#include "bevel/edge_bevel.h"
#include "bevel/end_links.h"

namespace corv {

struct BevelContext {
    const std::vector<SolidEdge>& edges;
    const Links& links;
    const std::vector<std::optional<EdgeBevel>>& bevels;  // for the chosen edges
};

// One or more ways to end: the piece is cut by every half-space of one
// alternative, and the alternatives' pieces together make the edge's piece.
using Alternatives = std::vector<std::vector<HalfSpace>>;

Alternatives end_clips(const BevelContext& ctx, std::size_t edge, int end);

// Where every edge at the end's vertex is of the edge's kind, the piece may
// also be held to where its own bevel is passed farthest among it and its
// bevelled neighbours in its two faces, each bevel's reach measured against
// its reach at the vertex (the union of the pieces stays the same). Near a
// vertex where faces meet almost flat (a faceted cylinder's rim) the face
// planes alone let a piece run on along its neighbours; these keep it to
// its own stretch. Empty elsewhere.
std::vector<HalfSpace> uniform_limits(const BevelContext& ctx, std::size_t edge, int end);

// The plane through v and the line where two bevel planes cross; Panic
// when they do not cross or the line runs through v.
Plane miter_plane(const Plane& a, const Plane& b, const Vec3& v);

}  // namespace corv
