// The edges of a solid: the maximal straight segments where two of its
// faces meet. A face is the part of the surface in one plane facing one
// way; polygons of one face that share a side make a seam, not an edge.
// Where four faces meet along a line there are two edges on it, one per
// pair of faces around the same side of the solid.
#pragma once

#include <array>
#include <string>
#include <vector>

#include "core/solid.h"

namespace corv {

struct EdgeFace {
    // The face's plane with an integer normal (the plane's four numbers
    // share no factor), pointing out of the solid.
    Plane plane;
    // The label of the face's polygon at the edge's start.
    std::string label;
};

struct SolidEdge {
    Vec3 start, end;  // start comes first along the line's canonical direction
    // faces[0]'s boundary runs from start to end, faces[1]'s from end to start.
    std::array<EdgeFace, 2> faces;
    bool convex;       // the solid's interior angle at the edge is below 180 degrees
    bool shared_line;  // more than two faces meet along the edge
};

// Every edge, ordered by start, end and the faces' normals. Throws Panic
// (not_manifold) naming a stretch where the surface does not close.
std::vector<SolidEdge> solid_edges(const Solid& solid);

// The plane with an integer normal and offset sharing no factor, facing the
// same way; a zero normal throws Panic.
Plane integer_plane_of(const Plane& plane);

}  // namespace corv
