#include "local/classes.h"

#include <unordered_map>

#include "local/union_find.h"
#include "local/vertex_key.h"

namespace corv::local {

std::vector<std::uint32_t> isolated_classes(const FacetSoup& soup, const std::vector<bool>& isolated) {
    const std::size_t n = soup.facets.size();
    UnionFind sets(n);
    std::unordered_map<VertexKey, std::uint32_t, VertexKeyHash, VertexKeyEq> first_at;
    first_at.reserve(n * 2);
    for (std::size_t i = 0; i < n; ++i) {
        if (!isolated[i]) continue;
        const Polygon& p = *soup.facets[i].polygon;
        for (std::size_t v = 0; v < p.vertices().size(); ++v) {
            auto [it, fresh] =
                first_at.try_emplace(VertexKey{&p.vertices()[v], p.float_vertices()[v]}, static_cast<std::uint32_t>(i));
            if (fresh) continue;
            // Operands are kept apart: isolated facets of different operands
            // never share a vertex, but a zero-width touch could.
            if (soup.facets[it->second].operand != soup.facets[i].operand) continue;
            sets.join(it->second, static_cast<std::uint32_t>(i));
        }
    }
    for (std::size_t i = 0; i < n; ++i) sets.parent[i] = sets.find(static_cast<std::uint32_t>(i));
    return std::move(sets.parent);
}

}  // namespace corv::local
