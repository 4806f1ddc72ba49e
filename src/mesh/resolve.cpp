#include "mesh/resolve.h"

#include "core/guard.h"
#include "core/panic.h"
#include "local/facet_pieces.h"
#include "local/fate.h"
#include "local/union_find.h"

namespace corv {

void refuse_torn(const MeshSoup& mesh, const local::Neighbours& near, const std::vector<Vec3>& points,
                 const std::vector<Corners>& faces) {
    const local::Context ctx{mesh.soup, mesh.columns, near, local::Combine::union_};
    std::vector<Polygon> pieces;
    for (std::size_t i = 0; i < mesh.soup.facets.size(); ++i) {
        if (near.of(i).empty()) continue;
        guard::poll(16);
        pieces.clear();
        local::resolve_facet(ctx, i, pieces);
        // A triangle kept whole all over comes out as it went in.
        const Polygon& own = *mesh.soup.facets[i].polygon;
        if (pieces.size() == 1 && pieces[0].vertices() == own.vertices()) continue;
        throw Panic(PanicKind::not_manifold,
                    "from_mesh: " + face_text(points, faces, i) + " and " + face_text(points, faces, near.of(i)[0]) +
                        " touch, and the mesh passes through itself where they meet" + kResolveHint);
    }
}

Solid enclosed_solid(const MeshSoup& mesh, const local::Neighbours& near, const EdgeFaces& edge_faces) {
    const std::size_t n = mesh.soup.facets.size();
    const local::Context ctx{mesh.soup, mesh.columns, near, local::Combine::union_};
    local::UnionFind classes(n);
    for (const auto& [a, b] : edge_faces) {
        if (near.of(a).empty() && near.of(b).empty()) classes.join(a, b);
    }
    std::vector<local::Fate> fate(n, local::Fate::drop);
    Solid out;
    for (std::size_t i = 0; i < n; ++i) {
        if (!near.of(i).empty()) {
            guard::poll(16);
            local::resolve_facet(ctx, i, out.polygons);
            continue;
        }
        guard::poll();
        const std::uint32_t root = classes.find(static_cast<std::uint32_t>(i));  // at most i
        if (root == i) fate[i] = local::fate_of(windings_of(mesh.soup, mesh.columns, i), local::Combine::union_);
        if (fate[root] == local::Fate::drop) continue;
        const Polygon& p = *mesh.soup.facets[i].polygon;
        out.polygons.push_back(fate[root] == local::Fate::keep ? p : p.flipped());
    }
    return out;
}

}  // namespace corv
