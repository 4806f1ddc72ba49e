// The planes the bevel is made of: half-spaces that bound its convex
// pieces, planes through given points, and the point where three planes
// meet.
#pragma once

#include <optional>
#include <string>

#include "core/plane.h"

namespace corv {

// The points p with dot(plane.normal, p) <= plane.offset; a convex piece
// cut by it gets a face in the plane, facing along the normal, labelled
// label.
struct HalfSpace {
    Plane plane;
    std::string label;
};

// The half-space of the plane that holds `inside`; a point on the plane, or
// a zero normal, throws Panic (invalid_argument) with `what` in its text.
HalfSpace keep(const Plane& plane, const Vec3& inside, std::string label, const char* what);

// The same half-space from the other side.
HalfSpace other_side(const HalfSpace& h, std::string label);

// The plane through p spanned by the directions u and v (a zero normal when
// they are parallel).
Plane plane_through(const Vec3& p, const Vec3& u, const Vec3& v);

// The point on all three planes, or nothing when they do not meet in one
// point.
std::optional<Vec3> meet(const Plane& a, const Plane& b, const Plane& c);

}  // namespace corv
