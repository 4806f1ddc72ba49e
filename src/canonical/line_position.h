// A polygon side placed on its infinite line: the line's key and canonical
// direction, and the positions of the side's ends along that direction.
#pragma once

#include <optional>
#include <string>

#include "core/vec3.h"

namespace corv {

struct LineSide {
    std::string key;  // the line key of the side (as line_key gives it)
    Vec3 dir;         // canon_dir(b - a): integer, gcd 1, first non-zero > 0
    Rational ta;      // line_position(a, dir)
    Rational tb;      // line_position(b, dir)
};

// The position of p along a line of direction dir: dot(p, dir). It grows
// towards dir but is not a distance (dir need not have length 1).
Rational line_position(const Vec3& p, const Vec3& dir);

// The key of the line through p with canonical direction dir: the point text
// of dir, "|", the point text of cross(p, dir).
std::string line_key_through(const Vec3& p, const Vec3& dir);

// The side from a to b on its line, computing the canonical direction once;
// nothing when a = b.
std::optional<LineSide> line_side(const Vec3& a, const Vec3& b);

}  // namespace corv
