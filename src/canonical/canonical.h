// Scale- and orientation-free integer forms of planes and directions, exact
// unit vectors where they exist, and the text key of a line.
#pragma once

#include <array>
#include <optional>
#include <string>

#include "core/integer.h"
#include "core/plane.h"

namespace corv {

// (a, b, c, d) with a x + b y + c z = d, gcd 1, first non-zero entry positive;
// all zero for the zero plane.
using PlaneKey = std::array<Integer, 4>;

PlaneKey canonical_plane(const Plane& plane);
// The canonical plane with every sign reversed (all zero stays all zero).
PlaneKey coplanar_key(const Plane& plane);
// coplanar_key(a) == coplanar_key(b): the same plane, either way round,
// decided without building the keys.
bool coplanar(const Plane& a, const Plane& b);
// "a,b,c,d" in decimal.
std::string plane_key_text(const PlaneKey& key);
// The exact unit normal of the canonical plane, or nothing when its length
// is irrational; a zero normal throws Panic.
std::optional<Vec3> unit_normal(const Plane& plane);
// Integer direction with gcd 1 and first non-zero coordinate positive, or
// nothing for the zero vector.
std::optional<Vec3> canon_dir(const Vec3& v);
// v / |v| when |v| is rational, else nothing; the zero vector throws Panic.
std::optional<Vec3> unit_dir(const Vec3& v);
// Point text of canon_dir(b - a), "|", point text of cross(a, c); nothing when a = b.
std::optional<std::string> line_key(const Vec3& a, const Vec3& b);

}  // namespace corv
