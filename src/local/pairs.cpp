#include "local/pairs.h"

#include <algorithm>

#include "local/grid.h"

namespace corv::local {

Neighbours overlapping_facets(const FacetSoup& soup) {
    const std::size_t n = soup.facets.size();
    Neighbours out;
    out.start.assign(n + 1, 0);
    if (n == 0) return out;
    std::vector<Float3> lo(n), hi(n);
    Float3 all_lo = soup.facets[0].lo, all_hi = soup.facets[0].hi;
    for (std::size_t i = 0; i < n; ++i) {
        lo[i] = soup.facets[i].lo;
        hi[i] = soup.facets[i].hi;
        for (std::size_t a = 0; a < 3; ++a) {
            all_lo[a] = std::min(all_lo[a], lo[i][a]);
            all_hi[a] = std::max(all_hi[a], hi[i][a]);
        }
    }
    const Grid g = make_grid(all_lo, all_hi, n, {false, false, false}, n, lo, hi);
    // A pair whose boxes meet shares every cell of the boxes' intersection;
    // it is reported only from the cell holding the intersection's low corner.
    std::vector<std::pair<std::uint32_t, std::uint32_t>> pairs;
    for (std::uint32_t k = 0; k < g.dims[2]; ++k) {
        for (std::uint32_t j = 0; j < g.dims[1]; ++j) {
            for (std::uint32_t c = 0; c < g.dims[0]; ++c) {
                const auto bucket = g.bucket(g.cell_index(c, j, k));
                // Items are in facet order, so each operand's facets form one
                // run of the bucket; a facet is paired only with the runs of
                // later operands. A cell that one operand crowds (the fan of a
                // many-sided cap) then costs its size times the others', not
                // its size squared.
                std::size_t later = 0;  // the first item of a later operand than x's
                for (std::size_t x = 0; x < bucket.size(); ++x) {
                    const Facet& fa = soup.facets[bucket[x]];
                    if (later <= x) {
                        later = x + 1;
                        while (later < bucket.size() && soup.facets[bucket[later]].operand == fa.operand) ++later;
                    }
                    for (std::size_t y = later; y < bucket.size(); ++y) {
                        const Facet& fb = soup.facets[bucket[y]];
                        if (!boxes_meet(fa, fb)) continue;
                        if (g.cell_along(0, std::max(fa.lo[0], fb.lo[0])) != c ||
                            g.cell_along(1, std::max(fa.lo[1], fb.lo[1])) != j ||
                            g.cell_along(2, std::max(fa.lo[2], fb.lo[2])) != k) {
                            continue;
                        }
                        pairs.emplace_back(bucket[x], bucket[y]);
                    }
                }
            }
        }
    }
    for (const auto& [a, b] : pairs) {
        ++out.start[a + 1];
        ++out.start[b + 1];
    }
    for (std::size_t i = 0; i < n; ++i) out.start[i + 1] += out.start[i];
    out.items.resize(out.start[n]);
    std::vector<std::uint32_t> fill(out.start.begin(), out.start.end() - 1);
    for (const auto& [a, b] : pairs) {
        out.items[fill[a]++] = b;
        out.items[fill[b]++] = a;
    }
    for (std::size_t i = 0; i < n; ++i) {
        std::sort(out.items.begin() + out.start[i], out.items.begin() + out.start[i + 1]);
    }
    return out;
}

}  // namespace corv::local
