// Cutting one polygon by one plane, exactly, behind a floating-point screen.
#pragma once

#include <array>
#include <vector>

#include "core/polygon.h"

namespace corv {

// The four ways a polygon can end up relative to a plane.
struct Split {
    std::vector<Polygon> coplanar_front;  // in the plane, facing the plane's way
    std::vector<Polygon> coplanar_back;   // in the plane, facing away (or zero normal)
    std::vector<Polygon> front;           // wholly in front, or the front piece
    std::vector<Polygon> back;            // wholly behind, or the back piece
};

// (normal.x, normal.y, normal.z, offset) as doubles, for the side screen.
using FloatPlane = std::array<double, 4>;

FloatPlane float_plane(const Plane& plane);

// The exact point where the edge from vi to vj meets the plane; the ends
// must lie strictly on opposite sides (so the divisor is not zero). The
// point is the same for the plane and its negation.
Vec3 edge_intersection(const Plane& plane, const Vec3& vi, const Vec3& vj);
// The same in Rationals throughout (edge_intersection tries machine integers
// first).
Vec3 rational_edge_intersection(const Plane& plane, const Vec3& vi, const Vec3& vj);

// Side of vertex p (with float copy f) against the plane: the float value
// settles it when it is clearly away from zero, the exact test otherwise.
int screened_side(const Plane& plane, const FloatPlane& fp, const Vec3& p, const Float3& f);

// Sorts the polygon (consumed) into the four output lists, appending at most
// one polygon to a coplanar list, or at most one piece each to front and back.
// The lists may alias each other; the caller decides where each kind goes.
void split_into(const Plane& plane, const FloatPlane& fp, Polygon&& polygon, std::vector<Polygon>& coplanar_front,
                std::vector<Polygon>& coplanar_back, std::vector<Polygon>& front, std::vector<Polygon>& back);

// The same, returning a fresh record.
Split split(const Plane& plane, const FloatPlane& fp, Polygon polygon);

}  // namespace corv
