#include "mesh/slits.h"

#include <algorithm>

#include "core/panic.h"

namespace corv::mesh {
namespace {

// Whether the open segment a-b meets the interior of the counter-clockwise
// triangle t: no line through a side of either separates them.
bool crosses(const Triangle& t, std::uint32_t a, std::uint32_t b, const PlanarView& view) {
    int left = 0, right = 0;
    for (std::uint32_t p : t) {
        const int o = view.orient(a, b, p);
        left += o > 0;
        right += o < 0;
    }
    if (left == 0 || right == 0) return false;
    for (std::size_t k = 0; k < 3; ++k) {
        const std::uint32_t p = t[k], q = t[(k + 1) % 3];
        if (view.orient(p, q, a) <= 0 && view.orient(p, q, b) <= 0) return false;
    }
    return true;
}

// Makes p a vertex of the triangulation where it lies inside a triangle
// (split in three) or inside a side (both triangles split in two).
void insert_point(std::vector<Triangle>& triangles, std::uint32_t p, const PlanarView& view) {
    const std::size_t count = triangles.size();
    for (std::size_t k = 0; k < count; ++k) {
        const Triangle t = triangles[k];
        if (t[0] == p || t[1] == p || t[2] == p) return;
        std::array<int, 3> o{};
        for (std::size_t i = 0; i < 3; ++i) o[i] = view.orient(t[i], t[(i + 1) % 3], p);
        if (o[0] < 0 || o[1] < 0 || o[2] < 0) continue;
        const auto zero = static_cast<std::size_t>(std::find(o.begin(), o.end(), 0) - o.begin());
        if (zero == 3) {
            triangles[k] = {t[0], t[1], p};
            triangles.push_back({t[1], t[2], p});
            triangles.push_back({t[2], t[0], p});
        } else {
            triangles[k] = {t[(zero + 1) % 3], t[(zero + 2) % 3], p};
            triangles.push_back({t[(zero + 2) % 3], t[zero], p});
        }
    }
}

[[noreturn]] void no_manifold_mesh() {
    throw Panic(PanicKind::not_manifold,
                "mesh: the solid meets itself inside a face in a way no manifold mesh can show");
}

}  // namespace

bool cut_along(std::vector<Triangle>& triangles, std::uint32_t a, std::uint32_t b, const PlanarView& view) {
    if (std::none_of(triangles.begin(), triangles.end(), [&](const Triangle& t) { return crosses(t, a, b, view); })) {
        return false;
    }
    // The line may end inside the face, where the faces along it end.
    insert_point(triangles, a, view);
    insert_point(triangles, b, view);
    std::vector<Triangle> kept, crossed;
    for (const Triangle& t : triangles) (crosses(t, a, b, view) ? crossed : kept).push_back(t);
    if (crossed.empty()) return true;  // the new vertex brought the side
    for (const Triangle& t : crossed) {
        for (std::uint32_t p : t) {
            if (p != a && p != b && view.orient(a, b, p) == 0 && view.dot_sign(a, p, p, b) > 0) no_manifold_mesh();
        }
    }
    // The hole's boundary: the crossed triangles' sides that no other
    // crossed triangle shares.
    std::vector<Edge> sides, hole;
    for (const Triangle& t : crossed) {
        for (std::size_t k = 0; k < 3; ++k) sides.push_back({t[k], t[(k + 1) % 3]});
    }
    std::sort(sides.begin(), sides.end());
    for (const Edge& e : sides) {
        if (!std::binary_search(sides.begin(), sides.end(), Edge{e[1], e[0]})) hole.push_back(e);
    }
    const auto loops = piece_loops(hole, {{a, b}}, view);
    if (loops.size() != 2) no_manifold_mesh();
    for (const auto& loop : loops) {
        std::vector<Edge> edges;
        for (std::size_t k = 0; k < loop.size(); ++k) edges.push_back({loop[k], loop[(k + 1) % loop.size()]});
        for (const Triangle& t : triangulate_region(edges, view)) kept.push_back(t);
    }
    triangles = std::move(kept);
    return true;
}

}  // namespace corv::mesh
