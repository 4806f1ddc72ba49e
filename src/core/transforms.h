// Exact transforms of solids. Each returns a new solid; the input is unchanged.
#pragma once

#include <cstdint>
#include <functional>

#include "core/solid.h"

namespace corv {

// Maps every vertex with f; planes and float copies are rebuilt. Zero-area
// polygons are kept (no degeneracy filter).
std::vector<Polygon> mapped(const std::vector<Polygon>& polygons, const std::function<Vec3(const Vec3&)>& f);

Solid translated(const Solid& s, const Vec3& t);
// quarters * 90 degrees about the coordinate axis (axis mod 3), right-handed.
Solid rotated_quarter(const Solid& s, std::uint64_t axis, std::int64_t quarters);
// Per-axis factors; a negative product flips every polygon.
Solid scaled(const Solid& s, const Rational& fx, const Rational& fy, const Rational& fz);
// Negates coordinate number axis and flips every polygon; axis > 2 on a
// non-empty solid throws Panic.
Solid mirrored(const Solid& s, std::uint64_t axis);

}  // namespace corv
