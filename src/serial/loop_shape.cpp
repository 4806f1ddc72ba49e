#include "serial/loop_shape.h"

#include <algorithm>
#include <numeric>
#include <set>

#include "core/filtered.h"
#include "core/guard.h"

namespace corv {
namespace {

// The loop in the plane of the two other axes, its second coordinate
// mirrored when the plane faces down the axis, so that a good loop runs
// counter-clockwise in it.
struct Frame {
    const LoopView& loop;
    std::size_t u, v, n;

    explicit Frame(const LoopView& l) : loop(l), u((l.axis + 1) % 3), v((l.axis + 2) % 3), n(l.corners.size()) {}
    std::size_t next(std::size_t i) const { return i + 1 == n ? 0 : i + 1; }
    std::size_t prev(std::size_t i) const { return i == 0 ? n - 1 : i - 1; }
    const Vec3& p(std::size_t i) const { return loop.points[loop.corners[i]]; }
    const Float3& f(std::size_t i) const { return loop.floats[loop.corners[i]]; }

    // The sign of (b - a) x (c - a).
    int orient(std::size_t a, std::size_t b, std::size_t c) const {
        const Float3 &fa = f(a), &fb = f(b), &fc = f(c);
        int s = filtered::orient2d_sign(fa[u], fa[v], fb[u], fb[v], fc[u], fc[v]);
        if (s == 0) {
            const Vec3 &pa = p(a), &pb = p(b), &pc = p(c);
            s = ((pb[u] - pa[u]) * (pc[v] - pa[v]) - (pb[v] - pa[v]) * (pc[u] - pa[u])).sign();
        }
        return s * loop.facing;
    }
    // The sign of coordinate c of b - a (the mirrored one for v).
    int step(std::size_t a, std::size_t b, std::size_t c) const {
        const auto order = p(b)[c] <=> p(a)[c];
        const int s = order > 0 ? 1 : (order < 0 ? -1 : 0);
        return c == v ? s * loop.facing : s;
    }
    // The sweep's order: by u, then by v.
    bool before(std::size_t a, std::size_t b) const {
        const int su = step(a, b, u);
        return su != 0 ? su > 0 : step(a, b, v) > 0;
    }
    // Whether the loop goes straight on at i (its neighbours in line with it).
    bool straight_on(std::size_t i) const {
        const Vec3 &a = p(prev(i)), &b = p(i), &c = p(next(i));
        return ((b[u] - a[u]) * (c[u] - b[u]) + (b[v] - a[v]) * (c[v] - b[v])).sign() > 0;
    }
    // Whether side i points into the half-turn [0, pi) of directions.
    bool upper(std::size_t i) const {
        const int sv = step(i, next(i), v);
        return sv > 0 || (sv == 0 && step(i, next(i), u) > 0);
    }
};

// Folds, and whether the loop never turns clockwise.
std::optional<LoopFault> scan_turns(const Frame& w, bool& convex) {
    convex = true;
    for (std::size_t i = 0; i < w.n; ++i) {
        const int t = w.orient(w.prev(i), i, w.next(i));
        if (t < 0) convex = false;
        if (t == 0 && !w.straight_on(i)) return LoopFault{LoopFault::folds_back, w.prev(i), i};
    }
    return std::nullopt;
}

// A loop that never turns clockwise turns round once for each time its
// sides' direction passes from the lower half-turn to the upper one.
std::size_t turns_round(const Frame& w) {
    std::size_t wraps = 0;
    for (std::size_t i = 0; i < w.n; ++i) {
        if (!w.upper(i) && w.upper(w.next(i))) ++wraps;
    }
    return wraps;
}

// Shamos and Hoey's sweep: the sides crossing the sweep line are kept in
// order from below to above. Until the first meeting of two sides (a
// crossing, a corner on a side, or sides along one line) that order holds,
// and the two sides are neighbours in it at some moment before the sweep
// passes the meeting, so testing each new pair of neighbours finds it.
struct Sweep {
    const Frame& w;
    std::vector<std::uint8_t> forward;  // side i runs from its lower end in sweep order

    std::size_t lo(std::size_t e) const { return forward[e] ? e : w.next(e); }
    std::size_t hi(std::size_t e) const { return forward[e] ? w.next(e) : e; }
    // > 0: position p lies above side e.
    int side(std::size_t e, std::size_t p) const { return w.orient(lo(e), hi(e), p); }
    // Side e lies below side f where both cross the sweep line (compared at
    // the later of their lower ends).
    bool below(std::size_t e, std::size_t f) const {
        if (e == f) return false;
        if (lo(e) == lo(f)) return side(e, hi(f)) > 0;
        if (w.before(lo(e), lo(f))) {
            const int s = side(e, lo(f));
            return s != 0 ? s > 0 : side(e, hi(f)) > 0;
        }
        const int s = side(f, lo(e));
        return s != 0 ? s < 0 : side(f, hi(e)) < 0;
    }
    bool neighbours(std::size_t e, std::size_t f) const { return w.next(e) == f || w.next(f) == e; }
    bool within(std::size_t c, std::size_t e) const { return !w.before(c, lo(e)) && !w.before(hi(e), c); }
    // Whether sides e and f (not neighbours) have a point in common.
    bool meet(std::size_t e, std::size_t f) const {
        const std::size_t a = e, b = w.next(e), c = f, d = w.next(f);
        const int o1 = w.orient(a, b, c), o2 = w.orient(a, b, d), o3 = w.orient(c, d, a), o4 = w.orient(c, d, b);
        if (o1 * o2 < 0 && o3 * o4 < 0) return true;
        return (o1 == 0 && within(c, e)) || (o2 == 0 && within(d, e)) || (o3 == 0 && within(a, f)) ||
               (o4 == 0 && within(b, f));
    }
};

struct Below {
    const Sweep* s;
    bool operator()(std::size_t e, std::size_t f) const { return s->below(e, f); }
};

std::optional<LoopFault> sweep(const Frame& w, const std::vector<std::uint32_t>& order) {
    Sweep s{w, std::vector<std::uint8_t>(w.n)};
    for (std::size_t i = 0; i < w.n; ++i) s.forward[i] = w.before(i, w.next(i)) ? 1 : 0;
    using Status = std::set<std::size_t, Below>;
    Status status(Below{&s});
    std::vector<Status::iterator> where(w.n, status.end());
    auto test = [&](Status::iterator a, Status::iterator b) -> std::optional<LoopFault> {
        if (a == status.end() || b == status.end() || s.neighbours(*a, *b) || !s.meet(*a, *b)) return std::nullopt;
        return LoopFault{LoopFault::sides_meet, std::min(*a, *b), std::max(*a, *b)};
    };
    for (const std::uint32_t p : order) {
        const std::size_t sides[2] = {w.prev(p), p};
        for (const std::size_t e : sides) {
            if (s.hi(e) != p) continue;
            auto it = where[e];
            auto above = std::next(it);
            auto under = it == status.begin() ? status.end() : std::prev(it);
            status.erase(it);
            if (auto fault = test(under, above)) return fault;
        }
        for (const std::size_t e : sides) {
            if (s.lo(e) != p) continue;
            auto [it, added] = status.insert(e);
            if (!added) return LoopFault{LoopFault::sides_meet, std::min(e, *it), std::max(e, *it)};
            where[e] = it;
            if (auto fault = test(it == status.begin() ? status.end() : std::prev(it), it)) return fault;
            if (auto fault = test(it, std::next(it))) return fault;
        }
    }
    return std::nullopt;
}

}  // namespace

std::optional<LoopFault> loop_fault(const LoopView& loop) {
    const Frame w(loop);
    guard::poll(static_cast<std::int64_t>(w.n));
    bool convex = true;
    if (auto fault = scan_turns(w, convex)) return fault;
    if (convex) {
        const std::size_t wraps = turns_round(w);
        if (wraps == 1) return std::nullopt;
        return LoopFault{LoopFault::winds, wraps, 0};
    }
    std::vector<std::uint32_t> order(w.n);
    std::iota(order.begin(), order.end(), std::uint32_t{0});
    std::sort(order.begin(), order.end(), [&](std::uint32_t a, std::uint32_t b) { return w.before(a, b); });
    guard::poll(static_cast<std::int64_t>(w.n) * 8);
    if (auto fault = sweep(w, order)) return fault;
    // A simple loop turns the way it turns at its first corner in sweep order.
    const std::size_t m = order[0];
    if (w.orient(w.prev(m), m, w.next(m)) < 0) return LoopFault{LoopFault::turns_against, m, 0};
    return std::nullopt;
}

}  // namespace corv
