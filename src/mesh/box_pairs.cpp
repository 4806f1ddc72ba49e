#include "mesh/box_pairs.h"

#include <algorithm>
#include <array>
#include <span>

#include "core/guard.h"
#include "local/grid.h"

namespace corv {
namespace {

using Cells = std::array<std::uint32_t, 6>;  // first and last cell along each axis

// Grid::cell_along, here where the placement loop can inline it: any
// monotone map serves, as long as placing and pairing use the same one.
std::uint32_t cell_of(const local::Grid& g, std::size_t axis, double x) {
    const double t = (x - g.origin[axis]) * g.scale[axis];
    if (!(t > 0)) return 0;  // also NaN
    const double top = static_cast<double>(g.dims[axis] - 1);
    return t >= top ? g.dims[axis] - 1 : static_cast<std::uint32_t>(t);  // truncating a positive t floors it
}

// The grid with each triangle in every cell its box meets, and for each
// item of the grid the axes along which its box starts in that cell (bit k
// for axis k). The grid's shape is local::make_grid's; each box's range of
// cells is found once, for counting and filling.
local::Grid place(const std::vector<Float3>& lo, const std::vector<Float3>& hi, std::vector<std::uint8_t>& starts) {
    const std::size_t n = lo.size();
    Float3 all_lo = lo[0], all_hi = hi[0];
    for (std::size_t i = 0; i < n; ++i) {
        widen(all_lo, all_hi, lo[i]);
        widen(all_lo, all_hi, hi[i]);
    }
    local::Grid g = local::make_grid(all_lo, all_hi, n, {false, false, false}, 0, lo, hi);
    std::vector<Cells> ranges(n);
    for (std::size_t i = 0; i < n; ++i) {
        for (std::size_t k = 0; k < 3; ++k) {
            ranges[i][k] = cell_of(g, k, lo[i][k]);
            ranges[i][k + 3] = cell_of(g, k, hi[i][k]);
        }
    }
    auto for_cells = [&](std::size_t i, auto&& f) {
        const Cells& r = ranges[i];
        for (std::uint32_t z = r[2]; z <= r[5]; ++z)
            for (std::uint32_t y = r[1]; y <= r[4]; ++y)
                for (std::uint32_t x = r[0]; x <= r[3]; ++x)
                    f(g.cell_index(x, y, z), (x == r[0] ? 1u : 0u) | (y == r[1] ? 2u : 0u) | (z == r[2] ? 4u : 0u));
    };
    const std::size_t cells = g.start.size() - 1;
    for (std::size_t i = 0; i < n; ++i) for_cells(i, [&](std::size_t c, unsigned) { ++g.start[c + 1]; });
    for (std::size_t c = 0; c < cells; ++c) g.start[c + 1] += g.start[c];
    g.items.resize(g.start[cells]);
    starts.resize(g.start[cells]);
    std::vector<std::uint32_t> fill(g.start.begin(), g.start.end() - 1);
    for (std::size_t i = 0; i < n; ++i) {
        for_cells(i, [&](std::size_t c, unsigned bits) {
            starts[fill[c]] = static_cast<std::uint8_t>(bits);
            g.items[fill[c]++] = static_cast<std::uint32_t>(i);
        });
    }
    return g;
}

// One cell's boxes side by side, coordinate by coordinate, with their
// starts in the cell.
struct Cell {
    std::array<std::vector<double>, 3> lo, hi;
    std::vector<std::uint32_t> id;
    std::vector<std::uint8_t> starts;
};

void gather(const std::vector<Float3>& lo, const std::vector<Float3>& hi, std::span<const std::uint32_t> bucket,
            const std::uint8_t* starts, Cell& cell) {
    const std::size_t n = bucket.size();
    cell.id.assign(bucket.begin(), bucket.end());
    cell.starts.assign(starts, starts + n);
    for (std::size_t k = 0; k < 3; ++k) {
        cell.lo[k].resize(n);
        cell.hi[k].resize(n);
        for (std::size_t x = 0; x < n; ++x) {
            cell.lo[k][x] = lo[cell.id[x]][k];
            cell.hi[k][x] = hi[cell.id[x]][k];
        }
    }
}

bool meet(const Cell& c, std::size_t x, std::size_t y) {
    return (c.lo[0][y] <= c.hi[0][x]) & (c.lo[0][x] <= c.hi[0][y]) & (c.lo[1][y] <= c.hi[1][x]) &
           (c.lo[1][x] <= c.hi[1][y]) & (c.lo[2][y] <= c.hi[2][x]) & (c.lo[2][x] <= c.hi[2][y]);
}

// Whether triangles a and b share a corner whose fan is plain: then they
// meet only where they share.
bool plainly_adjacent(const std::vector<ScreenedTriangle>& tris, const std::vector<std::uint8_t>& plain,
                      std::uint32_t a, std::uint32_t b) {
    const Corners &ca = tris[a].corners, &cb = tris[b].corners;
    for (std::size_t c = 0; c < 3; ++c) {
        if ((plain[a] >> c & 1u) != 0 && (ca[c] == cb[0] || ca[c] == cb[1] || ca[c] == cb[2])) return true;
    }
    return false;
}

}  // namespace

void box_pairs(const std::vector<ScreenedTriangle>& triangles, const std::vector<std::uint8_t>& plain,
               const std::function<void(std::uint32_t, std::uint32_t)>& visit) {
    const std::size_t n = triangles.size();
    if (n < 2) return;
    std::vector<Float3> lo(n), hi(n);
    for (std::size_t i = 0; i < n; ++i) {
        lo[i] = hi[i] = triangles[i].f[0];
        for (const Float3& p : triangles[i].f) widen(lo[i], hi[i], p);
    }
    std::vector<std::uint8_t> starts;
    const local::Grid g = place(lo, hi, starts);
    guard::Watch* watch = guard::current();
    Cell cell;
    auto offer = [&](std::size_t x, std::size_t y) {
        if (!meet(cell, x, y)) return;
        const std::uint32_t a = std::min(cell.id[x], cell.id[y]), b = std::max(cell.id[x], cell.id[y]);
        if (!plainly_adjacent(triangles, plain, a, b)) visit(a, b);
    };
    for (std::uint32_t k = 0; k < g.dims[2]; ++k) {
        for (std::uint32_t j = 0; j < g.dims[1]; ++j) {
            for (std::uint32_t i = 0; i < g.dims[0]; ++i) {
                const auto bucket = g.bucket(g.cell_index(i, j, k));
                if (bucket.size() < 2) continue;
                guard::poll(watch, static_cast<std::int64_t>(bucket.size() * bucket.size() / 32 + 1));
                const std::size_t cell_start = g.start[g.cell_index(i, j, k)];
                gather(lo, hi, bucket, starts.data() + cell_start, cell);
                // The overlap of a pair's boxes starts in this cell along every axis
                // where one of the two boxes starts here (both lie in it).
                const std::size_t m = cell.id.size();
                for (std::size_t x = 0; x < m; ++x) {
                    const unsigned sx = cell.starts[x];
                    for (std::size_t y = x + 1; y < m; ++y) {
                        if ((sx | cell.starts[y]) == 7u) offer(x, y);
                    }
                }
            }
        }
    }
}

}  // namespace corv
