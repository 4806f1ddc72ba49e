// The exact triangle mesh of a closed solid.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "core/solid.h"

namespace corv {

struct TriMesh {
    std::vector<Vec3> vertices;                           // exact; a point may repeat where the solid touches itself
    std::vector<std::array<std::uint32_t, 3>> triangles;  // counter-clockwise seen from outside
    std::vector<std::uint32_t> labels;                    // per triangle, an index into label_names
    std::vector<std::string> label_names;
};

// The faces of the solid (fragments of one face merged, coincident opposite
// faces cancelled) triangulated without new points. Every vertex is a true
// corner of some face, and every corner lying on a side of another face is
// a vertex of that side too; every directed edge appears in exactly one
// triangle and its reverse in exactly one other, so the mesh is closed,
// consistently oriented and manifold. Its exact six-fold volume equals the
// solid's. Each triangle carries the label of the first polygon (in solid
// order) of the face it lies in.
//
// An empty solid throws Panic (empty_solid); one that is not closed, or
// whose faces overlap or cross, throws Panic (not_manifold); the message
// says what is wrong.
TriMesh mesh_of(const Solid& solid);

}  // namespace corv
