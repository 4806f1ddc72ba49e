// Exact order of directions turning about an axis: the angle from a first
// direction to another, counter-clockwise seen from the axis's tip (right
// hand), compared without computing it. The directions are taken as seen
// along the axis (their parts along it do not count).
#pragma once

#include "core/vec3.h"

namespace corv {

struct Turn {
    Vec3 axis;
    Vec3 from;  // the direction at angle 0; not along the axis
};

// 0 for an angle in [0, 180), 1 for [180, 360).
int half_turn(const Turn& turn, const Vec3& v);

// Whether u comes strictly before v turning from `from` about the axis.
bool turns_before(const Turn& turn, const Vec3& u, const Vec3& v);

// The same order with the turn running clockwise instead (sense -1) or
// counter-clockwise (sense +1).
bool turns_before(const Turn& turn, int sense, const Vec3& u, const Vec3& v);

}  // namespace corv
