// The shells of a closed mesh (its triangles joined across shared edges),
// which way each faces, and whether they nest as a solid's do: every point
// off the mesh inside no shell or inside one more shell facing outward than
// facing inward. The shells must not cross (mesh_contacts found no crossing
// and every touched triangle bounds the solid), so each is a closed surface
// of its own, and the winding number just in front of it is the same all
// over it.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "mesh/mesh_soup.h"

namespace corv {

// The two triangles at each edge of the mesh.
using EdgeFaces = std::vector<std::array<std::uint32_t, 2>>;

struct Shells {
    std::vector<std::uint32_t> of;     // each triangle's shell
    std::vector<std::uint32_t> first;  // each shell's lowest triangle, ascending
};

Shells mesh_shells(std::size_t triangles, const EdgeFaces& edge_faces);

// The sign of the exact volume of each shell (-1: it faces inward) and of
// the whole mesh, whose triangles are the faces as given.
struct Facing {
    std::vector<int> shell;
    int whole;
};
Facing facing_of(const std::vector<Vec3>& points, const std::vector<Float3>& floats, const std::vector<Corners>& faces,
                 const Shells& shells);

// Throws Panic (kind not_manifold) at the first shell (by its lowest face)
// with a winding number other than 0 just in front of it, naming a shell
// it lies inside. `facing`: the shells' volume signs after any turn of
// the whole mesh; the soup holds the triangles as turned.
void check_nesting(const MeshSoup& mesh, const Shells& shells, const std::vector<int>& facing);

}  // namespace corv
