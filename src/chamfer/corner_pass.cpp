#include "chamfer/corner_pass.h"

#include <algorithm>
#include <array>

#include "bsp/boolean.h"
#include "chamfer/cutters.h"
#include "chamfer/solve3.h"
#include "core/guard.h"
#include "core/measures.h"
#include "topology/canonical.h"

namespace corv {
namespace {

template <class Keys>
bool has_key(const Keys& keys, const PlaneKey& key) {
    return std::ranges::find(keys, key) != std::ranges::end(keys);
}

// The outward unit direction of each entry's edge, when all three are rational.
std::optional<std::array<Vec3, 3>> unit_directions(const std::vector<CornerEntry>& entries) {
    std::array<Vec3, 3> u;
    for (std::size_t i = 0; i < 3; ++i) {
        std::optional<Vec3> unit = unit_dir(entries[i].outward);
        if (!unit) return std::nullopt;
        u[i] = std::move(*unit);
    }
    return u;
}

// The coplanar keys of every entry's two planes, and the distinct face planes
// among them in first-seen order.
struct CornerFaces {
    std::array<std::array<PlaneKey, 2>, 3> keys;
    std::vector<const Plane*> faces;
};

CornerFaces corner_faces(const std::vector<CornerEntry>& entries) {
    CornerFaces out;
    std::vector<PlaneKey> face_keys;
    for (std::size_t i = 0; i < 3; ++i) {
        const Plane* planes[2] = {&entries[i].plane_a, &entries[i].plane_b};
        for (std::size_t s = 0; s < 2; ++s) {
            out.keys[i][s] = coplanar_key(*planes[s]);
            if (!has_key(face_keys, out.keys[i][s])) {
                face_keys.push_back(out.keys[i][s]);
                out.faces.push_back(planes[s]);
            }
        }
    }
    return out;
}

// Q_k: where the chamfer planes of the two edges other than k meet the face
// those two edges share; nothing when they share none or the planes do not
// meet in a point.
std::optional<Vec3> chamfer_corner_on_face(const std::vector<CornerEntry>& entries, const CornerFaces& corner,
                                           const std::array<Vec3, 3>& b, const Vec3& r, std::size_t k) {
    const std::size_t j1 = (k + 1) % 3;
    const std::size_t j2 = (k + 2) % 3;
    const Plane* face = nullptr;
    if (has_key(corner.keys[j1], corner.keys[j2][0])) {
        face = &entries[j2].plane_a;
    } else if (has_key(corner.keys[j1], corner.keys[j2][1])) {
        face = &entries[j2].plane_b;
    } else {
        return std::nullopt;
    }
    return solve3({b[j1], b[j2], face->normal}, Vec3{r[j1], r[j2], face->offset});
}

}  // namespace

CornerTable corner_table(const std::vector<Edge>& edges) {
    CornerTable table;
    for (const Edge& edge : edges) {
        table[point_text(point_at(edge, edge.t_min))].push_back(CornerEntry{edge.dir, edge.plane_a, edge.plane_b});
        table[point_text(point_at(edge, edge.t_max))].push_back(CornerEntry{neg(edge.dir), edge.plane_a, edge.plane_b});
    }
    return table;
}

std::optional<Solid> corner_cutter(const std::vector<CornerEntry>& entries, const Rational& dist) {
    if (entries.size() != 3) return std::nullopt;
    const std::optional<std::array<Vec3, 3>> u = unit_directions(entries);
    if (!u) return std::nullopt;
    // Normals of the three chamfer planes (exact when the edges are at right angles).
    std::array<Vec3, 3> b;
    for (std::size_t i = 0; i < 3; ++i) b[i] = add((*u)[(i + 1) % 3], (*u)[(i + 2) % 3]);

    const CornerFaces corner = corner_faces(entries);
    if (corner.faces.size() != 3) return std::nullopt;
    const std::array<const Plane*, 3> f = {corner.faces[0], corner.faces[1], corner.faces[2]};
    const std::optional<Vec3> v =
        solve3({f[0]->normal, f[1]->normal, f[2]->normal}, Vec3{f[0]->offset, f[1]->offset, f[2]->offset});
    if (!v) return std::nullopt;

    // The chamfer planes: b[i] . x = r[i].
    Vec3 r;
    for (std::size_t i = 0; i < 3; ++i) r[i] = dot(b[i], add(*v, smul(dist, (*u)[(i + 1) % 3])));
    const std::optional<Vec3> w = solve3(b, r);
    if (!w) return std::nullopt;

    std::array<Vec3, 3> q;
    for (std::size_t k = 0; k < 3; ++k) {
        std::optional<Vec3> qk = chamfer_corner_on_face(entries, corner, b, r, k);
        if (!qk) return std::nullopt;
        q[k] = std::move(*qk);
    }
    return tetra(q[0], q[1], q[2], *w, "corner");
}

std::vector<Polygon> corner_pass(const std::vector<Edge>& edges, const Rational& dist, std::vector<Polygon> working,
                                 bsp::Room& room) {
    const CornerTable table = corner_table(edges);
    Solid solid{std::move(working)};
    for (const auto& [key, entries] : table) {
        guard::poll();
        std::optional<Solid> cutter = corner_cutter(entries, dist);
        if (!cutter || volume6(cutter->polygons).is_zero()) continue;
        solid = boolean(BooleanOp::cut, solid, *cutter, room);
    }
    return std::move(solid.polygons);
}

}  // namespace corv
