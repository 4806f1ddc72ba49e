// A solid from a triangle mesh given by points and index triples.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "core/solid.h"

namespace corv {

// What solid_from_triangles does with a mesh that passes through itself.
enum class SelfCrossing : std::uint8_t {
    refuse,   // check 4 and 5 below throw
    resolve,  // the solid the mesh encloses instead
};

// Checks the mesh, in this order, each failure a Panic naming the first
// offending face (its index in `faces`) and what is wrong with it:
//   1. an index past the end of `points` (kind index);
//   2. a triangle of zero area (exactly: repeated or collinear points; kind
//      invalid_argument);
//   3. an edge (a pair of indices) not used by exactly two triangles, one
//      each way (kind not_manifold); for a hole, the message counts the
//      mesh's holes too;
//   4. two triangles that meet other than where the mesh joins them (a
//      shared corner or edge, by index) and pass through each other or
//      overlap in one plane; or that touch along a side or at a corner
//      where the mesh passes through itself (kind not_manifold, naming the
//      two faces and their corners, the pair (a, b) with the lowest a, then
//      b, among the crossing ones);
//   5. shells (triangles joined across edges) nested so that some point
//      off the mesh lies inside no shell or one more facing outward than
//      inward fails: a shell inside another that faces the same way, an
//      inward shell outside every outward one (kind not_manifold, naming
//      two shells by a face each).
// Edges are told apart by index, not by position, so a mesh whose sheets
// meet along an edge must give each sheet its own copy of the points there
// (as mesh_of does); sheets may touch along edges or at points.
//
// A mesh whose exact signed volume is negative (one whose shells all face
// inward, or a solid with cavities given inside out) is turned inside out as
// a whole before check 5: every triangle is flipped. Not each shell on its
// own, so that a shell around a cavity keeps facing into it; a mesh of zero
// volume is kept as it is.
//
// The polygons are the triangles, in order, labelled `label`; coplanar
// neighbours are not merged.
//
// With SelfCrossing::resolve, checks 1 to 3 still apply (a hole is not
// closed), and the result is the solid of the points where the mesh's
// winding number (after the turn above) is at least one: the union of
// whatever the mesh's parts enclose, as the local Boolean engine would give
// it (triangles cut where others touch or cross them); a mesh that passes 4
// and 5 comes back as it does without the flag.
Solid solid_from_triangles(std::vector<Vec3> points, const std::vector<std::array<std::uint64_t, 3>>& faces,
                           const std::string& label, SelfCrossing crossing = SelfCrossing::refuse);

}  // namespace corv
