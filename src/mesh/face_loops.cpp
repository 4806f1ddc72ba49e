#include "mesh/face_loops.h"

#include <unordered_map>

#include "canonical/canonical.h"
#include "core/guard.h"
#include "core/panic.h"
#include "core/planar.h"
#include "local/containment.h"
#include "local/union_find.h"
#include "mesh/mesh_of.h"
#include "mesh/triangulate.h"

namespace corv {

using namespace mesh;

namespace {

// Side k of triangle t (from its corner k to corner k + 1) is side 3 t + k.
// Per side, the side that runs the other way (the mesh is manifold).
std::vector<std::uint32_t> opposite_sides(const TriMesh& m) {
    auto key = [](std::uint32_t a, std::uint32_t b) { return (std::uint64_t{a} << 32) | b; };
    std::unordered_map<std::uint64_t, std::uint32_t> side_of;
    side_of.reserve(3 * m.triangles.size());
    for (std::uint32_t t = 0; t < m.triangles.size(); ++t) {
        const auto& c = m.triangles[t];
        for (std::uint32_t k = 0; k < 3; ++k) side_of.emplace(key(c[k], c[(k + 1) % 3]), 3 * t + k);
    }
    std::vector<std::uint32_t> opposite(3 * m.triangles.size());
    for (std::uint32_t t = 0; t < m.triangles.size(); ++t) {
        const auto& c = m.triangles[t];
        for (std::uint32_t k = 0; k < 3; ++k) {
            auto it = side_of.find(key(c[(k + 1) % 3], c[k]));
            if (it == side_of.end()) throw Panic(PanicKind::not_manifold, "face loops: a side of the mesh is unpaired");
            opposite[3 * t + k] = it->second;
        }
    }
    return opposite;
}

Vec3 normal_of(const TriMesh& m, std::uint32_t t) {
    const auto& c = m.triangles[t];
    return cross(sub(m.vertices[c[1]], m.vertices[c[0]]), sub(m.vertices[c[2]], m.vertices[c[0]]));
}

// Two triangles sharing a side lie in one face when they face one way.
bool one_face(const Vec3& n, const Vec3& other) { return cross(n, other) == Vec3{} && dot(n, other).sign() > 0; }

// Index of each class of the union-find, numbered by first member.
std::vector<std::uint32_t> class_numbers(local::UnionFind& sets, std::uint32_t& count) {
    std::vector<std::uint32_t> number(sets.parent.size());
    count = 0;
    for (std::uint32_t i = 0; i < number.size(); ++i) {
        const std::uint32_t root = sets.find(i);
        number[i] = root == i ? count++ : number[root];
    }
    return number;
}

// Twice the loop's signed area in the frame (positive: counter-clockwise).
Rational twice_area(const std::vector<std::uint32_t>& loop, const PlanarView& view) {
    Rational sum;
    for (std::size_t i = 0; i < loop.size(); ++i) {
        const std::uint32_t a = loop[i], b = loop[(i + 1) % loop.size()];
        sum += view.u(a) * view.v(b) - view.u(b) * view.v(a);
    }
    return sum;
}

// The face's loops from its boundary sides, the outer loop first.
std::vector<std::vector<std::uint32_t>> loops_of(const std::vector<Edge>& sides, const PlanarView& view) {
    std::vector<std::vector<std::uint32_t>> loops = piece_loops(sides, {}, view);
    std::size_t outer = loops.size(), outers = 0;
    for (std::size_t i = 0; i < loops.size(); ++i) {
        if (twice_area(loops[i], view).sign() > 0) {
            outer = i;
            ++outers;
        }
    }
    if (outers != 1) {
        throw Panic(PanicKind::not_manifold,
                    "face loops: a face has " + std::to_string(outers) + " outer loops; a connected face has one");
    }
    std::swap(loops[0], loops[outer]);
    return loops;
}

Vec3 outward(const Vec3& n) {
    Vec3 d = *canon_dir(n);
    return dot(d, n).sign() < 0 ? neg(d) : d;
}

// The faces: triangles joined across sides within one face, and each face's
// sides that border another face.
void add_faces(const TriMesh& m, const std::vector<std::uint32_t>& opposite, const std::vector<std::uint32_t>& shell,
               FaceLoops& out) {
    std::vector<Vec3> normals;
    normals.reserve(m.triangles.size());
    for (std::uint32_t t = 0; t < m.triangles.size(); ++t) normals.push_back(normal_of(m, t));
    local::UnionFind sets(m.triangles.size());
    for (std::uint32_t s = 0; s < opposite.size(); ++s) {
        const std::uint32_t t = s / 3, u = opposite[s] / 3;
        if (t < u && one_face(normals[t], normals[u])) sets.join(t, u);
    }
    std::uint32_t count = 0;
    const std::vector<std::uint32_t> face = class_numbers(sets, count);
    std::vector<std::vector<Edge>> sides(count);
    out.faces.resize(count);
    for (std::uint32_t t = 0; t < m.triangles.size(); ++t) {
        PlanarFace& f = out.faces[face[t]];
        if (sets.find(t) == t) f = {outward(normals[t]), m.labels[t], shell[t], {}};
        const auto& c = m.triangles[t];
        for (std::uint32_t k = 0; k < 3; ++k) {
            if (face[opposite[3 * t + k] / 3] != face[t]) sides[face[t]].push_back({c[k], c[(k + 1) % 3]});
        }
    }
    std::vector<Float3> fpoints;
    for (const Vec3& p : m.vertices) fpoints.push_back(to_f3(p));
    for (std::size_t f = 0; f < count; ++f) {
        guard::poll(static_cast<std::int64_t>(sides[f].size()));
        const PlanarView view{&m.vertices, &fpoints, frame_for(out.faces[f].normal)};
        out.faces[f].loops = loops_of(sides[f], view);
    }
}

Solid shell_solid(const TriMesh& m, const std::vector<std::uint32_t>& shell, std::uint32_t which) {
    Solid out;
    for (std::uint32_t t = 0; t < m.triangles.size(); ++t) {
        if (shell[t] != which) continue;
        const auto& c = m.triangles[t];
        out.polygons.push_back(Polygon::make({m.vertices[c[0]], m.vertices[c[1]], m.vertices[c[2]]}, ""));
    }
    return out;
}

// Each cavity (a shell facing inward) belongs to the smallest outer shell
// around a point inside one of its triangles; shells do not cross, so that
// point tells for the whole cavity.
std::vector<std::uint32_t> outer_shells(const TriMesh& m, const std::vector<std::uint32_t>& shell,
                                        std::uint32_t count) {
    std::vector<Rational> volume6(count);
    std::vector<std::uint32_t> first(count, UINT32_MAX);
    for (std::uint32_t t = 0; t < m.triangles.size(); ++t) {
        const auto& c = m.triangles[t];
        volume6[shell[t]] += dot(m.vertices[c[0]], cross(m.vertices[c[1]], m.vertices[c[2]]));
        if (first[shell[t]] == UINT32_MAX) first[shell[t]] = t;
    }
    std::vector<std::uint32_t> outer_of(count, UINT32_MAX);
    for (std::uint32_t s = 0; s < count; ++s) {
        if (volume6[s].sign() > 0) outer_of[s] = s;
    }
    for (std::uint32_t s = 0; s < count; ++s) {
        if (outer_of[s] != UINT32_MAX) continue;
        const auto& c = m.triangles[first[s]];
        const Vec3 sum = add(add(m.vertices[c[0]], m.vertices[c[1]]), m.vertices[c[2]]);
        const Vec3 inside = smul(Rational(1) / Rational(3), sum);
        for (std::uint32_t o = 0; o < count; ++o) {
            if (volume6[o].sign() <= 0 || (outer_of[s] != UINT32_MAX && volume6[o] >= volume6[outer_of[s]])) continue;
            if (local::containment(shell_solid(m, shell, o), inside) == local::Containment::inside) outer_of[s] = o;
        }
        if (outer_of[s] == UINT32_MAX) {
            throw Panic(PanicKind::not_manifold, "face loops: a shell facing inward lies inside no other shell");
        }
    }
    return outer_of;
}

}  // namespace

FaceLoops face_loops(const Solid& solid) {
    TriMesh m = mesh_of(solid);
    const std::vector<std::uint32_t> opposite = opposite_sides(m);
    local::UnionFind sets(m.triangles.size());
    for (std::uint32_t s = 0; s < opposite.size(); ++s) sets.join(s / 3, opposite[s] / 3);
    std::uint32_t shells = 0;
    const std::vector<std::uint32_t> shell = class_numbers(sets, shells);
    FaceLoops out;
    add_faces(m, opposite, shell, out);
    out.outer_of = outer_shells(m, shell, shells);
    out.points = std::move(m.vertices);
    out.label_names = std::move(m.label_names);
    return out;
}

}  // namespace corv
