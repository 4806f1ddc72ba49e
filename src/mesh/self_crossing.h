// The pairs of triangles of a mesh that touch or cross, found among the
// pairs whose float boxes meet (in a uniform grid over the mesh's box), and
// the refusals that name them.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "mesh/triangle_contact.h"

namespace corv {

struct ContactPair {
    std::uint32_t a, b;  // a < b
    Contact kind;        // touch or cross
};

// Every pair of triangles that touch or cross, ordered by a, then b. With
// first_crossing, only the crossing pair of lowest (a, b) when there is one
// (the search skips the pairs that cannot come before it), else every pair
// that touches. More than 2^32 - 1 triangles throw Panic (kind
// invalid_argument).
std::vector<ContactPair> mesh_contacts(const MeshView& mesh, bool first_crossing);

// What a refusal of a mesh that passes through itself ends with.
inline constexpr const char* kResolveHint =
    "; pass resolve=True to take the solid the mesh encloses, or repair the mesh";

// "face 3 (0, 0, 0), (1, 0, 0), (0, 1, 0)": a face with its corners in the
// caller's order.
std::string face_text(const std::vector<Vec3>& points, const std::vector<Corners>& faces, std::size_t face);

// Throws Panic (kind not_manifold) naming the first crossing pair, if any:
// the two faces, their corners and how they meet.
void refuse_crossings(const std::vector<ContactPair>& contacts, const std::vector<Vec3>& points,
                      const std::vector<Corners>& faces);

}  // namespace corv
