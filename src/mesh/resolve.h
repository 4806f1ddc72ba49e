// What a closed mesh encloses, by the local Boolean engine's machinery: the
// mesh as a union of its own triangles. A triangle that others touch or
// cross is cut by their features and each piece classified by the exact
// winding numbers just in front of and behind it; the triangles nothing
// comes near are classified a class at a time (joined across the mesh's
// edges).
#pragma once

#include <vector>

#include "mesh/mesh_soup.h"
#include "mesh/shells.h"

namespace corv {

// Throws Panic (kind not_manifold) at the first triangle that touches
// others without bounding the solid all over (some piece of it with a
// winding number other than 0 in front or 1 behind): the mesh passes through
// itself along a side or a corner there. Names it and the first triangle it
// touches. near: the contacts, all of them touches.
void refuse_torn(const MeshSoup& mesh, const local::Neighbours& near, const std::vector<Vec3>& points,
                 const std::vector<Corners>& faces);

// The points of winding number at least one, as a solid whose faces carry
// the triangles' labels. near: every triangle's contacts.
Solid enclosed_solid(const MeshSoup& mesh, const local::Neighbours& near, const EdgeFaces& edge_faces);

}  // namespace corv
