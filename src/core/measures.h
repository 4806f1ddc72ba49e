// Read-only exact measures of a polygon list.
#pragma once

#include <string>
#include <utility>

#include "core/solid.h"

namespace corv {

// Six times the signed enclosed volume.
Rational volume6(const std::vector<Polygon>& polygons);
// (minimum corner, maximum corner); an empty list throws Panic.
std::pair<Vec3, Vec3> bbox(const std::vector<Polygon>& polygons);
// Sorted, de-duplicated face keys: the same text exactly when the solids
// hold the same set of faces (as multisets of corner points).
std::string canonical(const std::vector<Polygon>& polygons);

}  // namespace corv
