// Exact vertices as hash keys: the float copy is hashed and compared first,
// the exact value only when the copies agree (equal exact values have equal
// correctly rounded copies). The key points at the vertex; it must outlive
// the table.
#pragma once

#include <bit>
#include <cstdint>

#include "core/vec3.h"

namespace corv::local {

struct VertexKey {
    const Vec3* exact;
    Float3 f;
};

struct VertexKeyHash {
    std::size_t operator()(const VertexKey& k) const {
        std::uint64_t h = 0x9e3779b97f4a7c15ull;
        for (double d : k.f) {
            h ^= std::bit_cast<std::uint64_t>(d + 0.0) + 0x9e3779b97f4a7c15ull + (h << 6) + (h >> 2);
        }
        return static_cast<std::size_t>(h);
    }
};

struct VertexKeyEq {
    bool operator()(const VertexKey& a, const VertexKey& b) const { return a.f == b.f && *a.exact == *b.exact; }
};

}  // namespace corv::local
