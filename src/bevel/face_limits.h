// The distances at which a chamfer would make a face along a chosen edge
// vanish or fall apart, refused before anything is built. In each face of a
// chosen edge:
// - the edge, and each edge next to it, keeps a part of positive length
//   between the bevel lines (or, for an edge left sharp, the edge itself)
//   of its neighbours at both its ends;
// - 2 dist stays below the distance between two chosen edges that share no
//   end, and dist below the distance from a chosen edge to any other edge
//   that shares no end with it.
// Except: a convex and a concave chosen edge of one face that run parallel
// need only be more than dist apart. Closer than 2 dist, the strip of face
// between them vanishes and the two bevels merge: the concave edge's fill
// ends under the convex edge's bevel plane, which runs on over it (as at
// the narrow strips beside the outer fins of a heat sink).
// A face is the part of the surface in one plane facing one way, so edges
// of other parts of the same plane count too. Distances are compared
// squared, exactly.
#pragma once

#include "bevel/end_clips.h"

namespace corv {

struct MergedBevels {
    std::size_t convex, concave;  // edge indices
};

// The merged pairs; throws Panic (invalid_argument) naming the edge(s) and
// the face.
std::vector<MergedBevels> check_face_limits(const BevelContext& ctx, const Rational& dist);

// The squared distance between two segments of one plane that do not cross.
Rational squared_distance(const Vec3& a0, const Vec3& a1, const Vec3& b0, const Vec3& b1);

}  // namespace corv
