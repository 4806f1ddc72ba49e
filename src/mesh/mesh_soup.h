// A closed triangle mesh as a polygon soup of the local Boolean engine, for
// exact winding numbers: facet i is triangle i, its own operand (so that
// the engine cuts a triangle by every other that touches it), all in group 0.
#pragma once

#include <cstdint>
#include <vector>

#include "local/pairs.h"
#include "local/winding.h"
#include "mesh/self_crossing.h"

namespace corv {

struct MeshSoup {
    local::FacetSoup soup;  // points at the triangles, which must outlive it
    local::Columns columns;
};

// The facet of a triangle.
local::Facet triangle_facet(const Polygon& triangle, std::uint32_t operand, std::uint8_t group);

MeshSoup mesh_soup(const std::vector<Polygon>& triangles);

// The winding numbers just in front of and just behind facet t of the
// soup, at a generic point of it.
local::Windings windings_of(const local::FacetSoup& soup, const local::Columns& columns, std::size_t t);

// For each of n triangles, the triangles it touches or crosses.
local::Neighbours contact_lists(std::size_t n, const std::vector<ContactPair>& contacts);

}  // namespace corv
