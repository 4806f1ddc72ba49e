// Everything the package reads from a solid's polygons, in one place: the
// counts and exact measures its Python properties and repr show.
#pragma once

#include <cstddef>
#include <string>
#include <utility>

#include "core/solid.h"

namespace corv::python_lib {

std::size_t polygon_count(const Solid& solid);
// The enclosed volume (a sixth of the six-fold volume).
Rational volume(const Solid& solid);
// Six times the enclosed volume, as the low-level module reports it.
Rational volume6(const Solid& solid);
// (minimum corner, maximum corner); a solid without polygons throws Panic.
std::pair<Vec3, Vec3> bounds(const Solid& solid);
// The canonical text (the same as the low-level module's for the same solid).
std::string canonical_text(const Solid& solid);

// "Solid(36 polygons, volume 8, bbox (0, 0, 0) to (2, 2, 2))"; numbers longer
// than a line are shortened in the middle.
std::string summary(const Solid& solid);

}  // namespace corv::python_lib
