#include "mesh/triangulate.h"

#include <algorithm>

#include "core/panic.h"
#include "mesh/monotone.h"

namespace corv::mesh {
namespace {

// The class of the direction v->x by its counter-clockwise angle from v->u:
// 0 for no turn, 1 for (0, 180), 2 for 180, 3 for (180, 360).
int angle_class(const PlanarView& view, std::uint32_t v, std::uint32_t u, std::uint32_t x) {
    int s = view.orient(v, u, x);
    if (s > 0) return 1;
    if (s < 0) return 3;
    return view.dot_sign(v, u, v, x) > 0 ? 0 : 2;
}

// Whether v->a comes before v->b counter-clockwise from v->u.
bool ccw_before(const PlanarView& view, std::uint32_t v, std::uint32_t u, std::uint32_t a, std::uint32_t b) {
    int ca = angle_class(view, v, u, a), cb = angle_class(view, v, u, b);
    if (ca != cb) return ca < cb;
    return (ca == 1 || ca == 3) && view.orient(v, a, b) > 0;
}

[[noreturn]] void broken() {
    throw Panic(PanicKind::not_manifold, "mesh: a face could not be triangulated (its boundary is inconsistent)");
}

}  // namespace

std::vector<std::vector<std::uint32_t>> piece_loops(const std::vector<Edge>& edges, const std::vector<Edge>& diagonals,
                                                    const PlanarView& view) {
    std::vector<Edge> half(edges);
    for (const Edge& d : diagonals) {
        half.push_back(d);
        half.push_back({d[1], d[0]});
    }
    std::sort(half.begin(), half.end());
    std::vector<std::uint8_t> used(half.size(), 0);
    auto outgoing = [&](std::uint32_t v) {
        auto lo = std::lower_bound(half.begin(), half.end(), Edge{v, 0});
        auto hi = std::lower_bound(lo, half.end(), Edge{v + 1, 0});
        return std::pair{static_cast<std::size_t>(lo - half.begin()), static_cast<std::size_t>(hi - half.begin())};
    };
    std::vector<std::vector<std::uint32_t>> loops;
    for (std::size_t start = 0; start < half.size(); ++start) {
        if (used[start]) continue;
        std::vector<std::uint32_t> loop;
        std::size_t h = start;
        while (!used[h]) {
            used[h] = 1;
            const std::uint32_t u = half[h][0], v = half[h][1];
            loop.push_back(u);
            // The next side leaves v as the last direction counter-clockwise
            // from the way back (the first clockwise), keeping the piece on the left.
            auto [lo, hi] = outgoing(v);
            if (lo == hi) broken();
            std::size_t best = lo;
            for (std::size_t i = lo + 1; i < hi; ++i) {
                if (ccw_before(view, v, u, half[best][1], half[i][1])) best = i;
            }
            h = best;
        }
        if (h != start || loop.size() < 3) broken();
        loops.push_back(std::move(loop));
    }
    return loops;
}

void triangulate_monotone(const std::vector<std::uint32_t>& loop, const PlanarView& view, std::vector<Triangle>& out) {
    const std::size_t n = loop.size();
    auto emit = [&](std::uint32_t a, std::uint32_t b, std::uint32_t c) {
        int o = view.orient(a, b, c);
        if (o == 0) broken();
        out.push_back(o > 0 ? Triangle{a, b, c} : Triangle{a, c, b});
    };
    if (n == 3) return emit(loop[0], loop[1], loop[2]);
    std::size_t first = 0, last = 0;
    for (std::size_t i = 1; i < n; ++i) {
        if (view.lex_less(loop[i], loop[first])) first = i;
        if (view.lex_less(loop[last], loop[i])) last = i;
    }
    // Counter-clockwise from the first vertex runs the lower chain, from
    // the last one the upper chain; merged in sweep order.
    struct Item {
        std::uint32_t v;
        bool upper;
    };
    std::vector<Item> sorted;
    sorted.reserve(n);
    std::size_t lo = first, hi = first;  // lower chain forwards, upper chain backwards
    sorted.push_back({loop[first], false});
    std::size_t lo_left = (last + n - first) % n, hi_left = n - 1 - lo_left;
    while (lo_left + hi_left > 0) {
        std::size_t nlo = (lo + 1) % n, nhi = (hi + n - 1) % n;
        bool take_lower = hi_left == 0 || (lo_left > 0 && view.lex_less(loop[nlo], loop[nhi]));
        if (take_lower) {
            lo = nlo;
            --lo_left;
            sorted.push_back({loop[lo], false});
        } else {
            hi = nhi;
            --hi_left;
            sorted.push_back({loop[hi], true});
        }
    }
    std::vector<Item> stack{sorted[0], sorted[1]};
    for (std::size_t j = 2; j + 1 < n; ++j) {
        const Item q = sorted[j];
        if (q.upper != stack.back().upper) {
            while (stack.size() > 1) {
                Item t = stack.back();
                stack.pop_back();
                emit(q.v, t.v, stack.back().v);
            }
            stack.clear();
            stack.push_back(sorted[j - 1]);
            stack.push_back(q);
        } else {
            Item lastv = stack.back();
            stack.pop_back();
            while (!stack.empty()) {
                int o = view.orient(stack.back().v, lastv.v, q.v);
                if (q.upper ? o >= 0 : o <= 0) break;
                emit(stack.back().v, lastv.v, q.v);
                lastv = stack.back();
                stack.pop_back();
            }
            stack.push_back(lastv);
            stack.push_back(q);
        }
    }
    const std::uint32_t end = sorted[n - 1].v;
    while (stack.size() > 1) {
        Item t = stack.back();
        stack.pop_back();
        emit(end, t.v, stack.back().v);
    }
}

std::vector<Triangle> triangulate_region(const std::vector<Edge>& edges, const PlanarView& view) {
    std::vector<Triangle> out;
    if (edges.empty()) return out;
    const std::vector<Edge> diagonals = monotone_diagonals(edges, view);
    for (const auto& loop : piece_loops(edges, diagonals, view)) triangulate_monotone(loop, view, out);
    return out;
}

}  // namespace corv::mesh
