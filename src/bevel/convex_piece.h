// A convex polyhedron from half-spaces: a box cut by each half-space in
// turn, every face split by its plane and the cut closed by a new face in
// it, made of the cut's points. Exact throughout.
#pragma once

#include <span>

#include "bevel/planes.h"
#include "core/solid.h"

namespace corv {

// The box [lo, hi] (faces labelled box_label) met by every half-space;
// empty when that has no volume.
Solid convex_piece(const Vec3& lo, const Vec3& hi, std::span<const HalfSpace> cuts, const std::string& box_label);

}  // namespace corv
