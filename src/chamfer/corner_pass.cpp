#include "chamfer/corner_pass.h"

#include <algorithm>
#include <array>

#include "bsp/cut_chain.h"
#include "canonical/canonical.h"
#include "chamfer/cutters.h"
#include "chamfer/solve3.h"
#include "core/guard.h"

namespace corv {
namespace {

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

// Whether the plane is one of the entry's two face planes (either way round).
bool on_entry(const CornerEntry& entry, const Plane& plane) {
    return coplanar(entry.plane_a, plane) || coplanar(entry.plane_b, plane);
}

// The distinct face planes of the entries, in first-seen order.
std::vector<const Plane*> corner_faces(const std::vector<CornerEntry>& entries) {
    std::vector<const Plane*> faces;
    for (std::size_t i = 0; i < 3; ++i) {
        for (const Plane* plane : {&entries[i].plane_a, &entries[i].plane_b}) {
            const bool seen = std::ranges::any_of(faces, [&](const Plane* face) { return coplanar(*face, *plane); });
            if (!seen) faces.push_back(plane);
        }
    }
    return faces;
}

// Q_k: where the chamfer planes of the two edges other than k meet the face
// those two edges share; nothing when they share none or the planes do not
// meet in a point.
std::optional<Vec3> chamfer_corner_on_face(const std::vector<CornerEntry>& entries, const std::array<Vec3, 3>& b,
                                           const Vec3& r, std::size_t k) {
    const std::size_t j1 = (k + 1) % 3;
    const std::size_t j2 = (k + 2) % 3;
    const Plane* face = nullptr;
    if (on_entry(entries[j1], entries[j2].plane_a)) {
        face = &entries[j2].plane_a;
    } else if (on_entry(entries[j1], entries[j2].plane_b)) {
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

std::optional<std::array<Vec3, 4>> corner_points(const std::vector<CornerEntry>& entries, const Rational& dist) {
    if (entries.size() != 3) return std::nullopt;
    const std::optional<std::array<Vec3, 3>> u = unit_directions(entries);
    if (!u) return std::nullopt;
    // Normals of the three chamfer planes (exact when the edges are at right angles).
    std::array<Vec3, 3> b;
    for (std::size_t i = 0; i < 3; ++i) b[i] = add((*u)[(i + 1) % 3], (*u)[(i + 2) % 3]);

    const std::vector<const Plane*> faces = corner_faces(entries);
    if (faces.size() != 3) return std::nullopt;
    const std::array<const Plane*, 3> f = {faces[0], faces[1], faces[2]};
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
        std::optional<Vec3> qk = chamfer_corner_on_face(entries, b, r, k);
        if (!qk) return std::nullopt;
        q[k] = std::move(*qk);
    }
    return std::array<Vec3, 4>{std::move(q[0]), std::move(q[1]), std::move(q[2]), std::move(*w)};
}

std::optional<Solid> corner_cutter(const std::vector<CornerEntry>& entries, const Rational& dist) {
    const std::optional<std::array<Vec3, 4>> p = corner_points(entries, dist);
    if (!p) return std::nullopt;
    return tetra((*p)[0], (*p)[1], (*p)[2], (*p)[3], "corner");
}

void corner_pass(const std::vector<Edge>& edges, const Rational& dist, bsp::CutChain& chain) {
    const CornerTable table = corner_table(edges);
    for (const auto& [key, entries] : table) {
        guard::poll();
        // The tetrahedron's faces enclose six times its volume, the triple
        // product of its edges from one corner up to sign (a face without
        // area adds nothing to either): no volume is a zero triple product.
        const std::optional<std::array<Vec3, 4>> p = corner_points(entries, dist);
        if (!p) continue;
        const Vec3 e0 = sub((*p)[1], (*p)[0]), e1 = sub((*p)[2], (*p)[0]), e2 = sub((*p)[3], (*p)[0]);
        if (dot(e0, cross(e1, e2)).is_zero()) continue;
        chain.cut(tetra((*p)[0], (*p)[1], (*p)[2], (*p)[3], "corner"));
    }
}

}  // namespace corv
