// How two triangles of a mesh meet, decided exactly: not at all, only where
// the mesh joins them (the corners or the edge they share by index),
// touching (common points, but no point inside both), or crossing (a point
// inside both: they pass through each other, or overlap in one plane).
// "Inside" is the relative interior: a triangle without its three sides.
#pragma once

#include <cstdint>

#include "mesh/triangle_screens.h"

namespace corv {

enum class Contact : std::uint8_t { apart, adjacent, touch, cross };

// The contact of triangles a and b (a != b). Every sign comes from a
// filtered predicate with an exact fallback.
Contact triangle_contact(const MeshView& mesh, std::size_t a, std::size_t b);

// The contact of two triangles whose planes cross, from the exact chords
// that each cuts from the other's plane along the common line (Rational
// arithmetic); `shared` corners by index. triangle_contact uses it when a
// vertex lies in the other triangle's plane.
Contact chord_contact(const MeshView& mesh, std::size_t a, std::size_t b, int shared);

}  // namespace corv
