// Candidate pairs: for every facet, the facets of other operands whose float
// boxes meet its own, found cell by cell in a uniform grid.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "local/facet_soup.h"

namespace corv::local {

struct Neighbours {
    std::vector<std::uint32_t> start;  // facet i: items[start[i], start[i+1]), ascending
    std::vector<std::uint32_t> items;

    std::span<const std::uint32_t> of(std::size_t i) const {
        return {items.data() + start[i], items.data() + start[i + 1]};
    }
};

Neighbours overlapping_facets(const FacetSoup& soup);

}  // namespace corv::local
