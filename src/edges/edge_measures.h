// What an edge's two faces say about it: directions across the edge into
// each face, the solid's interior angle there, and the edge's length.
#pragma once

#include "edges/solid_edges.h"

namespace corv {

// end - start.
Vec3 edge_direction(const SolidEdge& edge);

// The direction in face i perpendicular to the edge, pointing into the face;
// its length is |normal| |direction|.
Vec3 inward(const SolidEdge& edge, int i);

// The solid's interior angle at the edge in degrees, in (0, 360) (rounded
// from exact parts).
double interior_angle_degrees(const SolidEdge& edge);

// |end - start|, rounded.
double edge_length(const SolidEdge& edge);

// "(0, 0, 0) to (1, 0, 0)", for messages.
std::string edge_text(const SolidEdge& edge);

}  // namespace corv
