// The strip of a face that a bevel takes: the rectangle between an edge and
// its bevel line in one of its faces; and exact tests of whether strips and
// edges of one face meet, in the face's plane.
#pragma once

#include <array>
#include <span>

#include "bevel/edge_bevel.h"

namespace corv {

using Strip = std::array<Vec3, 4>;

Strip strip_of(const SolidEdge& edge, const EdgeBevel& bevel, int side);

// Whether two convex sets of the plane with this normal meet, each given by
// its corners in order round it (or a segment by its two ends): closed,
// touching counts; open, only overlapping insides count.
bool closed_sets_meet(const Vec3& normal, std::span<const Vec3> a, std::span<const Vec3> b);
bool insides_meet(const Vec3& normal, std::span<const Vec3> a, std::span<const Vec3> b);

}  // namespace corv
