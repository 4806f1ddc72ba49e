#include "builders/ear_clip.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <numeric>
#include <optional>

#include "core/filtered.h"

namespace corv {
namespace {

using i128 = __int128;

// Coordinates brought to one common denominator and kept as machine
// integers below 2^62 in magnitude: differences then fit in 64 bits and
// orientation determinants in 128 bits, so every test is exact and cheap.
struct IntCoords {
    std::vector<std::int64_t> x, y;

    struct Box {
        std::int64_t x0, x1, y0, y1;
    };

    int orient(std::size_t a, std::size_t b, std::size_t c) const {
        i128 d = i128(x[b] - x[a]) * i128(y[c] - y[a]) - i128(y[b] - y[a]) * i128(x[c] - x[a]);
        return d > 0 ? 1 : (d < 0 ? -1 : 0);
    }
    Box box_of(std::size_t a, std::size_t b, std::size_t c) const {
        return {std::min({x[a], x[b], x[c]}), std::max({x[a], x[b], x[c]}), std::min({y[a], y[b], y[c]}),
                std::max({y[a], y[b], y[c]})};
    }
    bool excludes(const Box& box, std::size_t p) const {
        return x[p] < box.x0 || x[p] > box.x1 || y[p] < box.y0 || y[p] > box.y1;
    }
    // p is known to be on the line through the distinct points c and a.
    bool strictly_between(std::size_t p, std::size_t c, std::size_t a) const {
        if (x[c] != x[a]) return std::min(x[c], x[a]) < x[p] && x[p] < std::max(x[c], x[a]);
        return std::min(y[c], y[a]) < y[p] && y[p] < std::max(y[c], y[a]);
    }
};

// The general case: exact rational tests behind two screens on the
// correctly rounded doubles of the coordinates.
//
// Bounding box: rounding is monotone, so a point whose double lies strictly
// outside the doubles' box lies outside the exact box too; NaN compares
// false and is never screened out.
//
// Orientation: filtered::orient2d_sign, whatever it leaves open settled
// exactly.
struct RationalCoords {
    const std::vector<Point2>& p;
    std::vector<double> fx, fy;

    struct Box {
        double x0, x1, y0, y1;
    };

    int orient(std::size_t a, std::size_t b, std::size_t c) const {
        const int s = filtered::orient2d_sign(fx[a], fy[a], fx[b], fy[b], fx[c], fy[c]);
        if (s != 0) return s;
        ++filtered::fallbacks().orient;
        return ((p[b].x - p[a].x) * (p[c].y - p[a].y) - (p[b].y - p[a].y) * (p[c].x - p[a].x)).sign();
    }
    Box box_of(std::size_t a, std::size_t b, std::size_t c) const {
        return {std::min({fx[a], fx[b], fx[c]}), std::max({fx[a], fx[b], fx[c]}), std::min({fy[a], fy[b], fy[c]}),
                std::max({fy[a], fy[b], fy[c]})};
    }
    bool excludes(const Box& box, std::size_t q) const {
        return fx[q] < box.x0 || fx[q] > box.x1 || fy[q] < box.y0 || fy[q] > box.y1;
    }
    bool strictly_between(std::size_t q, std::size_t c, std::size_t a) const {
        if (p[c].x != p[a].x) {
            return std::min(p[c].x, p[a].x) < p[q].x && p[q].x < std::max(p[c].x, p[a].x);
        }
        return std::min(p[c].y, p[a].y) < p[q].y && p[q].y < std::max(p[c].y, p[a].y);
    }
};

constexpr std::uint64_t kIntLimit = std::uint64_t(1) << 62;

std::optional<IntCoords> integer_coords(const std::vector<Point2>& pts) {
    std::vector<std::pair<std::int64_t, std::int64_t>> parts;
    parts.reserve(2 * pts.size());
    std::uint64_t common = 1;
    for (const Point2& q : pts) {
        for (const Rational* r : {&q.x, &q.y}) {
            auto part = r->small_parts();
            if (!part) return std::nullopt;
            const auto den = static_cast<std::uint64_t>(part->second);
            std::uint64_t scaled = common / std::gcd(common, den);
            if (scaled > kIntLimit / den) return std::nullopt;
            common = scaled * den;
            parts.push_back(*part);
        }
    }
    IntCoords out;
    out.x.reserve(pts.size());
    out.y.reserve(pts.size());
    for (std::size_t k = 0; k < parts.size(); ++k) {
        i128 v = i128(parts[k].first) * i128(common / static_cast<std::uint64_t>(parts[k].second));
        if (v >= i128(kIntLimit) || v <= -i128(kIntLimit)) return std::nullopt;
        (k % 2 == 0 ? out.x : out.y).push_back(std::int64_t(v));
    }
    return out;
}

// Does corner p block the ear (a, b, c)? It does when it lies strictly
// inside the triangle or on the open closing segment from c to a.
template <class Coords>
bool blocks(const Coords& k, std::size_t a, std::size_t b, std::size_t c, std::size_t p) {
    int closing = k.orient(c, a, p);
    if (closing < 0) return false;
    if (closing == 0) return k.strictly_between(p, c, a);
    return k.orient(a, b, p) > 0 && k.orient(b, c, p) > 0;
}

// The remaining loop is a doubly linked ring over the original indices, so
// the remaining corners keep their outline order and the first corner is
// the smallest live index. Each corner caches its ear status. A status
// only changes when the corner's neighbours change or when corners are
// removed; removal can only unblock, so a blocked corner stays blocked
// while the corner recorded as its witness is alive, and an ear stays an
// ear. Cached answers are therefore always the answers a fresh test would
// give, and the first ear found is the same as a full search's.
template <class Coords>
struct EarRing {
    enum Status : std::uint8_t { kUnknown, kEar, kNotConvex, kBlocked };

    const Coords& k;
    std::vector<std::size_t> prv, nxt, witness;
    std::vector<std::uint8_t> status, alive;

    EarRing(const Coords& coords, std::size_t n)
        : k(coords), prv(n), nxt(n), witness(n, 0), status(n, kUnknown), alive(n, 1) {
        for (std::size_t v = 0; v < n; ++v) {
            prv[v] = (v + n - 1) % n;
            nxt[v] = (v + 1) % n;
        }
    }

    void evaluate(std::size_t v) {
        const std::size_t a = prv[v], c = nxt[v];
        if (k.orient(a, v, c) <= 0) {
            status[v] = kNotConvex;
            return;
        }
        auto box = k.box_of(a, v, c);
        for (std::size_t j = nxt[c]; j != a; j = nxt[j]) {
            if (!k.excludes(box, j) && blocks(k, a, v, c, j)) {
                status[v] = kBlocked;
                witness[v] = j;
                return;
            }
        }
        status[v] = kEar;
    }

    // The first ear of the count corners from head on, in ring order.
    std::optional<std::size_t> first_ear(std::size_t head, std::size_t count) {
        std::size_t v = head;
        for (std::size_t step = 0; step < count; ++step, v = nxt[v]) {
            if (status[v] == kUnknown || (status[v] == kBlocked && !alive[witness[v]])) evaluate(v);
            if (status[v] == kEar) return v;
        }
        return std::nullopt;
    }

    // Takes corner v out of the ring; its neighbours must be tested afresh.
    void remove(std::size_t v) {
        const std::size_t a = prv[v], c = nxt[v];
        nxt[a] = c;
        prv[c] = a;
        alive[v] = 0;
        status[a] = status[c] = kUnknown;
    }
};

template <class Coords>
std::vector<Triangle2> clip_ears(const std::vector<Point2>& pts, const Coords& k) {
    EarRing<Coords> ring(k, pts.size());
    std::vector<Triangle2> out;
    std::size_t head = 0, count = pts.size();
    while (count > 3) {
        const std::optional<std::size_t> ear = ring.first_ear(head, count);
        if (!ear) return out;
        const std::size_t v = *ear, a = ring.prv[v], c = ring.nxt[v];
        out.push_back({pts[a], pts[v], pts[c]});
        ring.remove(v);
        if (v == head) head = c;
        --count;
    }
    if (count == 3) out.push_back({pts[head], pts[ring.nxt[head]], pts[ring.nxt[ring.nxt[head]]]});
    return out;
}

}  // namespace

Rational loop_area2(const std::vector<Point2>& outline) {
    Rational sum;
    const std::size_t n = outline.size();
    for (std::size_t i = 0; i < n; ++i) {
        const Point2& p = outline[i];
        const Point2& q = outline[(i + 1) % n];
        sum += p.x * q.y - q.x * p.y;
    }
    return sum;
}

std::vector<Triangle2> ear_clip(const std::vector<Point2>& outline) {
    if (outline.size() < 3) return {};
    if (auto ints = integer_coords(outline)) return clip_ears(outline, *ints);
    RationalCoords coords{outline, {}, {}};
    coords.fx.reserve(outline.size());
    coords.fy.reserve(outline.size());
    for (const Point2& q : outline) {
        coords.fx.push_back(q.x.to_double());
        coords.fy.push_back(q.y.to_double());
    }
    return clip_ears(outline, coords);
}

}  // namespace corv
