#include "local/classes.h"

#include <bit>
#include <unordered_map>

namespace corv::local {
namespace {

struct VertexKey {
    const Vec3* exact;
    Float3 f;
};

struct KeyHash {
    std::size_t operator()(const VertexKey& k) const {
        std::uint64_t h = 0x9e3779b97f4a7c15ull;
        for (double d : k.f) {
            h ^= std::bit_cast<std::uint64_t>(d + 0.0) + 0x9e3779b97f4a7c15ull + (h << 6) + (h >> 2);
        }
        return static_cast<std::size_t>(h);
    }
};

// Equal exact values have equal correctly rounded copies, so the float
// copies are compared first and the exact values only when they agree.
struct KeyEq {
    bool operator()(const VertexKey& a, const VertexKey& b) const { return a.f == b.f && *a.exact == *b.exact; }
};

std::uint32_t find(std::vector<std::uint32_t>& parent, std::uint32_t i) {
    while (parent[i] != i) {
        parent[i] = parent[parent[i]];
        i = parent[i];
    }
    return i;
}

}  // namespace

std::vector<std::uint32_t> isolated_classes(const Soup& soup, const std::vector<bool>& isolated) {
    const std::size_t n = soup.facets.size();
    std::vector<std::uint32_t> parent(n);
    for (std::size_t i = 0; i < n; ++i) parent[i] = static_cast<std::uint32_t>(i);
    std::unordered_map<VertexKey, std::uint32_t, KeyHash, KeyEq> first_at;
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
            const std::uint32_t a = find(parent, it->second), b = find(parent, static_cast<std::uint32_t>(i));
            if (a != b) parent[std::max(a, b)] = std::min(a, b);
        }
    }
    for (std::size_t i = 0; i < n; ++i) parent[i] = find(parent, static_cast<std::uint32_t>(i));
    return parent;
}

}  // namespace corv::local
