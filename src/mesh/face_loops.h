// A closed solid's boundary as planar faces with holes, for boundary
// representations: each face a connected region of one plane where the
// surface lies (the fragments of a face merged, as in mesh_of), bounded by
// its outer loop and its holes; the shells the faces form, and the shell
// that encloses each cavity.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "core/solid.h"

namespace corv {

struct PlanarFace {
    Vec3 normal;          // outward; integers with gcd 1
    std::uint32_t label;  // index into FaceLoops::label_names
    std::uint32_t shell;  // index into FaceLoops::outer_of
    // Point indices, the outer loop first, then the holes. Seen from
    // outside, the outer loop runs counter-clockwise and the holes
    // clockwise. A point on a side of a neighbouring face is a corner of
    // both, so every side of a face is a side of exactly one other face,
    // run the other way.
    std::vector<std::vector<std::uint32_t>> loops;
};

struct FaceLoops {
    // As in mesh_of: a point may repeat where the solid touches itself,
    // once for each sheet of the surface there.
    std::vector<Vec3> points;
    std::vector<PlanarFace> faces;
    // Per shell, the outer shell of the piece it bounds: itself for a shell
    // facing outward, the smallest outer shell around it for a cavity.
    std::vector<std::uint32_t> outer_of;
    std::vector<std::string> label_names;
};

// The faces of mesh_of(solid), joined across the sides where two of its
// triangles lie in one plane and face one way. Throws as mesh_of does; a
// cavity that no shell encloses throws Panic (not_manifold).
FaceLoops face_loops(const Solid& solid);

}  // namespace corv
