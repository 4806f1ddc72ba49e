// Disjoint sets over 0 .. n-1 with path halving; a union keeps the smaller
// index as the root, so a class is named by its first member.
#pragma once

#include <algorithm>
#include <cstdint>
#include <vector>

namespace corv::local {

struct UnionFind {
    std::vector<std::uint32_t> parent;

    explicit UnionFind(std::size_t n) : parent(n) {
        for (std::size_t i = 0; i < n; ++i) parent[i] = static_cast<std::uint32_t>(i);
    }
    std::uint32_t find(std::uint32_t i) {
        while (parent[i] != i) {
            parent[i] = parent[parent[i]];
            i = parent[i];
        }
        return i;
    }
    // Joins the classes of a and b; false when they were one already.
    bool join(std::uint32_t a, std::uint32_t b) {
        a = find(a);
        b = find(b);
        if (a == b) return false;
        parent[std::max(a, b)] = std::min(a, b);
        return true;
    }
};

}  // namespace corv::local
