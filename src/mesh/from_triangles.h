// A solid from a triangle mesh given by points and index triples.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "core/solid.h"

namespace corv {

// Checks the mesh, in this order, each failure a Panic naming the first
// offending face (its index in `faces`) and what is wrong with it:
//   1. an index past the end of `points` (kind index);
//   2. a triangle of zero area (exactly: repeated or collinear points; kind
//      invalid_argument);
//   3. an edge (a pair of indices) not used by exactly two triangles, one
//      each way (kind not_manifold).
// Edges are told apart by index, not by position, so a mesh whose sheets
// meet along an edge must give each sheet its own copy of the points there
// (as mesh_of does).
//
// A mesh whose exact signed volume is negative is turned inside out as a
// whole: every triangle is flipped. The whole mesh, not each closed shell
// on its own, so that a shell around a cavity keeps facing into it; a
// mesh of zero volume is kept as it is.
//
// The polygons are the triangles, in order, labelled `label`; coplanar
// neighbours are not merged.
Solid solid_from_triangles(std::vector<Vec3> points, const std::vector<std::array<std::uint64_t, 3>>& faces,
                           const std::string& label);

}  // namespace corv
