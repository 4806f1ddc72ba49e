// A uniform grid of boxes over float coordinates, with one bucket of item
// numbers per cell (compressed: one offsets array, one items array). Cell
// numbers come from floor((x - origin) * scale), clamped: a monotone map, so
// a point inside a closed box always falls into a cell the box was put in.
#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <vector>

#include "core/vec3.h"

namespace corv::local {

struct Grid {
    Float3 origin{};
    Float3 scale{};  // cells per unit length along each axis
    std::array<std::uint32_t, 3> dims{1, 1, 1};
    std::vector<std::uint32_t> start;  // bucket c is items[start[c], start[c+1])
    std::vector<std::uint32_t> items;

    std::uint32_t cell_along(std::size_t axis, double x) const;
    std::size_t cell_index(std::uint32_t i, std::uint32_t j, std::uint32_t k) const {
        return (static_cast<std::size_t>(k) * dims[1] + j) * dims[0] + i;
    }
    std::span<const std::uint32_t> bucket(std::size_t cell) const {
        return {items.data() + start[cell], items.data() + start[cell + 1]};
    }
};

// A grid over the box [lo, hi] with about `target` cells, shaped after the
// box; axes listed in `flat` get a single layer. Items i = 0 .. count-1 go
// into every cell their box [item_lo(i), item_hi(i)] meets; an item whose
// box is empty (lo > hi on some axis) is left out.
Grid make_grid(const Float3& lo, const Float3& hi, std::size_t target, std::array<bool, 3> flat, std::size_t count,
               const std::vector<Float3>& item_lo, const std::vector<Float3>& item_hi);

}  // namespace corv::local
