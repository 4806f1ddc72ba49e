#include "mesh/components.h"

#include <algorithm>
#include <numeric>
#include <optional>

#include "core/guard.h"
#include "core/measures.h"
#include "local/containment.h"
#include "local/union_find.h"
#include "mesh/mesh_of.h"

namespace corv {
namespace {

// The shells of the mesh: triangles joined through shared vertex indices
// (the mesh gives every sheet its own copy of a point where the solid
// touches itself, so a shell is one sheet).
std::vector<std::vector<std::uint32_t>> shells_of(const TriMesh& mesh) {
    local::UnionFind sets(mesh.vertices.size());
    for (const auto& t : mesh.triangles) {
        sets.join(t[0], t[1]);
        sets.join(t[0], t[2]);
    }
    std::vector<std::vector<std::uint32_t>> shells;
    std::vector<std::optional<std::size_t>> shell_of_root(mesh.vertices.size());
    for (std::uint32_t i = 0; i < mesh.triangles.size(); ++i) {
        const std::size_t root = sets.find(mesh.triangles[i][0]);
        if (!shell_of_root[root]) {
            shell_of_root[root] = shells.size();
            shells.emplace_back();
        }
        shells[*shell_of_root[root]].push_back(i);
    }
    return shells;
}

Solid solid_of(const TriMesh& mesh, const std::vector<std::uint32_t>& triangles) {
    Solid out;
    for (std::uint32_t i : triangles) {
        const auto& t = mesh.triangles[i];
        out.polygons.push_back(Polygon::make({mesh.vertices[t[0]], mesh.vertices[t[1]], mesh.vertices[t[2]]},
                                             mesh.label_names[mesh.labels[i]]));
    }
    return out;
}

// A point strictly inside the triangle: its centroid.
Vec3 inner_point(const TriMesh& mesh, std::uint32_t triangle) {
    const auto& t = mesh.triangles[triangle];
    Vec3 sum = add(add(mesh.vertices[t[0]], mesh.vertices[t[1]]), mesh.vertices[t[2]]);
    const Rational third(Rational(1) / Rational(3));
    return {sum.x * third, sum.y * third, sum.z * third};
}

}  // namespace

std::vector<Solid> components(const Solid& solid) {
    if (solid.polygons.empty()) return {};
    const TriMesh mesh = mesh_of(solid);
    const auto shells = shells_of(mesh);
    std::vector<Solid> pieces;
    std::vector<Rational> volumes;
    std::vector<std::size_t> cavities;
    std::vector<std::optional<std::size_t>> piece_of(shells.size());
    for (std::size_t s = 0; s < shells.size(); ++s) {
        guard::poll(static_cast<std::int64_t>(shells[s].size()));
        Solid shell = solid_of(mesh, shells[s]);
        Rational v = volume6(shell.polygons);
        if (v.sign() < 0) {
            cavities.push_back(s);
            continue;
        }
        piece_of[s] = pieces.size();
        pieces.push_back(std::move(shell));
        volumes.push_back(std::move(v));
    }
    // A cavity belongs to the smallest piece around it (shells do not cross,
    // so a point of the cavity's surface is inside exactly the pieces around it).
    for (std::size_t s : cavities) {
        const Vec3 p = inner_point(mesh, shells[s].front());
        std::optional<std::size_t> best;
        for (std::size_t k = 0; k < pieces.size(); ++k) {
            if (best && volumes[k] >= volumes[*best]) continue;
            if (local::containment(pieces[k], p) == local::Containment::inside) best = k;
        }
        Solid cavity = solid_of(mesh, shells[s]);
        if (best) {
            for (Polygon& poly : cavity.polygons) pieces[*best].polygons.push_back(std::move(poly));
        }
    }
    std::vector<std::size_t> order(pieces.size());
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) { return volumes[a] > volumes[b]; });
    std::vector<Solid> out;
    for (std::size_t k : order) out.push_back(std::move(pieces[k]));
    return out;
}

}  // namespace corv
