#include "chamfer/corner_pass.h"

#include <algorithm>
#include <array>

#include "bsp/boolean.h"
#include "chamfer/cutters.h"
#include "chamfer/solve3.h"
#include "core/measures.h"
#include "topology/canonical.h"

namespace corv {
namespace {

template <class Keys>
bool has_key(const Keys& keys, const PlaneKey& key) {
    return std::ranges::find(keys, key) != std::ranges::end(keys);
}

}  // namespace

CornerTable corner_table(const std::vector<Edge>& edges) {
    CornerTable table;
    for (const Edge& edge : edges) {
        table[point_text(point_at(edge, edge.t_min))].push_back(
            CornerEntry{edge.dir, edge.plane_a, edge.plane_b});
        table[point_text(point_at(edge, edge.t_max))].push_back(
            CornerEntry{neg(edge.dir), edge.plane_a, edge.plane_b});
    }
    return table;
}

std::optional<Solid> corner_cutter(const std::vector<CornerEntry>& entries, const Rational& dist) {
    if (entries.size() != 3) return std::nullopt;

    std::array<Vec3, 3> u;
    for (int i = 0; i < 3; ++i) {
        std::optional<Vec3> unit = unit_dir(entries[i].outward);
        if (!unit) return std::nullopt;
        u[i] = std::move(*unit);
    }
    // Normals of the three chamfer planes (exact when the edges are at right angles).
    std::array<Vec3, 3> b;
    for (int i = 0; i < 3; ++i) b[i] = add(u[(i + 1) % 3], u[(i + 2) % 3]);

    // Coplanar keys of every entry's two planes, and the distinct face planes.
    std::array<std::array<PlaneKey, 2>, 3> keys;
    std::vector<PlaneKey> face_keys;
    std::vector<const Plane*> faces;
    for (int i = 0; i < 3; ++i) {
        const Plane* planes[2] = {&entries[i].plane_a, &entries[i].plane_b};
        for (int s = 0; s < 2; ++s) {
            keys[i][s] = coplanar_key(*planes[s]);
            if (!has_key(face_keys, keys[i][s])) {
                face_keys.push_back(keys[i][s]);
                faces.push_back(planes[s]);
            }
        }
    }
    if (faces.size() != 3) return std::nullopt;

    const std::optional<Vec3> v = solve3({faces[0]->normal, faces[1]->normal, faces[2]->normal},
                                         Vec3{faces[0]->offset, faces[1]->offset, faces[2]->offset});
    if (!v) return std::nullopt;

    Vec3 r;
    for (int i = 0; i < 3; ++i) r[i] = dot(b[i], add(*v, smul(dist, u[(i + 1) % 3])));

    const std::optional<Vec3> w = solve3(b, r);
    if (!w) return std::nullopt;

    // Qk: where the chamfer planes of the other two edges meet their shared face.
    std::array<Vec3, 3> q;
    for (int k = 0; k < 3; ++k) {
        const int j1 = (k + 1) % 3;
        const int j2 = (k + 2) % 3;
        const Plane* face = nullptr;
        if (has_key(keys[j1], keys[j2][0])) {
            face = &entries[j2].plane_a;
        } else if (has_key(keys[j1], keys[j2][1])) {
            face = &entries[j2].plane_b;
        } else {
            return std::nullopt;
        }
        std::optional<Vec3> qk =
            solve3({b[j1], b[j2], face->normal}, Vec3{r[j1], r[j2], face->offset});
        if (!qk) return std::nullopt;
        q[k] = std::move(*qk);
    }
    return tetra(q[0], q[1], q[2], *w, "corner");
}

std::vector<Polygon> corner_pass(const std::vector<Edge>& edges, const Rational& dist,
                                 std::vector<Polygon> working) {
    const CornerTable table = corner_table(edges);
    Solid solid{std::move(working)};
    for (const auto& [key, entries] : table) {
        std::optional<Solid> cutter = corner_cutter(entries, dist);
        if (!cutter || volume6(cutter->polygons).is_zero()) continue;
        solid = boolean(BooleanOp::cut, solid, *cutter);
    }
    return std::move(solid.polygons);
}

}  // namespace corv
