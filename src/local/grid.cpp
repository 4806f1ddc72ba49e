#include "local/grid.h"

#include <algorithm>
#include <cmath>

namespace corv::local {

std::uint32_t Grid::cell_along(std::size_t axis, double x) const {
    const double t = std::floor((x - origin[axis]) * scale[axis]);
    if (!(t > 0)) return 0;  // also NaN
    const double top = static_cast<double>(dims[axis] - 1);
    return t >= top ? dims[axis] - 1 : static_cast<std::uint32_t>(t);
}

Grid make_grid(const Float3& lo, const Float3& hi, std::size_t target, std::array<bool, 3> flat, std::size_t count,
               const std::vector<Float3>& item_lo, const std::vector<Float3>& item_hi) {
    Grid g;
    g.origin = lo;
    Float3 extent{};
    int live = 0;
    double volume = 1;
    for (std::size_t a = 0; a < 3; ++a) {
        extent[a] = hi[a] - lo[a];
        if (!flat[a] && extent[a] > 0 && std::isfinite(extent[a])) {
            ++live;
            volume *= extent[a];
        }
    }
    const double cells = static_cast<double>(std::max<std::size_t>(target, 1));
    const double side = live > 0 ? std::pow(volume / cells, 1.0 / live) : 1.0;
    std::size_t total = 1;
    for (std::size_t a = 0; a < 3; ++a) {
        double n = 1;
        if (!flat[a] && extent[a] > 0 && std::isfinite(extent[a]) && side > 0) {
            n = std::clamp(std::ceil(extent[a] / side), 1.0, 2048.0);
        }
        g.dims[a] = static_cast<std::uint32_t>(n);
        g.scale[a] = extent[a] > 0 && std::isfinite(extent[a]) ? n / extent[a] : 0.0;
        total *= g.dims[a];
    }
    auto for_cells = [&](std::size_t i, auto&& f) {
        for (std::size_t a = 0; a < 3; ++a) {
            if (item_lo[i][a] > item_hi[i][a]) return;
        }
        const std::uint32_t i0 = g.cell_along(0, item_lo[i][0]), i1 = g.cell_along(0, item_hi[i][0]);
        const std::uint32_t j0 = g.cell_along(1, item_lo[i][1]), j1 = g.cell_along(1, item_hi[i][1]);
        const std::uint32_t k0 = g.cell_along(2, item_lo[i][2]), k1 = g.cell_along(2, item_hi[i][2]);
        for (std::uint32_t k = k0; k <= k1; ++k)
            for (std::uint32_t j = j0; j <= j1; ++j)
                for (std::uint32_t c = i0; c <= i1; ++c) f(g.cell_index(c, j, k));
    };
    g.start.assign(total + 1, 0);
    for (std::size_t i = 0; i < count; ++i) for_cells(i, [&](std::size_t c) { ++g.start[c + 1]; });
    for (std::size_t c = 0; c < total; ++c) g.start[c + 1] += g.start[c];
    g.items.resize(g.start[total]);
    std::vector<std::uint32_t> fill(g.start.begin(), g.start.end() - 1);
    for (std::size_t i = 0; i < count; ++i) {
        for_cells(i, [&](std::size_t c) { g.items[fill[c]++] = static_cast<std::uint32_t>(i); });
    }
    return g;
}

}  // namespace corv::local
