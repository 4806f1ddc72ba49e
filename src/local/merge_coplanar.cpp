#include "local/merge_coplanar.h"

#include <algorithm>
#include <array>
#include <climits>
#include <cmath>
#include <cstdint>
#include <unordered_map>

#include "core/guard.h"
#include "core/planar.h"
#include "local/filtered.h"
#include "local/union_find.h"
#include "local/vertex_key.h"

namespace corv::local {
namespace {

constexpr std::uint32_t kShared = ~0u;  // a directed edge that more than one facet runs along

// The polygons' loops as half-edges: h runs from vertex from[h] to the start
// of next[h]. Merging two loops across an edge splices the two lists.
struct Loops {
    std::vector<std::uint32_t> poly, from, next, prev;
    std::vector<const Vec3*> point;
    std::vector<const Float3*> fpoint;
};

Loops loops_of(std::span<const Polygon* const> polygons) {
    Loops l;
    std::unordered_map<VertexKey, std::uint32_t, VertexKeyHash, VertexKeyEq> ids;
    for (std::size_t p = 0; p < polygons.size(); ++p) {
        const auto& v = polygons[p]->vertices();
        const auto& f = polygons[p]->float_vertices();
        const auto first = static_cast<std::uint32_t>(l.poly.size());
        const auto n = static_cast<std::uint32_t>(v.size());
        for (std::uint32_t i = 0; i < n; ++i) {
            const auto id = ids.try_emplace(VertexKey{&v[i], f[i]}, static_cast<std::uint32_t>(ids.size()));
            l.poly.push_back(static_cast<std::uint32_t>(p));
            l.from.push_back(id.first->second);
            l.next.push_back(first + (i + 1) % n);
            l.prev.push_back(first + (i + n - 1) % n);
            l.point.push_back(&v[i]);
            l.fpoint.push_back(&f[i]);
        }
    }
    return l;
}

std::uint64_t edge_key(std::uint32_t a, std::uint32_t b) { return (std::uint64_t{a} << 32) | b; }

// Whether two planes through a common point are the same oriented plane.
bool same_plane(const Plane& a, const Plane& b) {
    const Vec3& m = a.normal;
    const Vec3& n = b.normal;
    return m.x * n.y == m.y * n.x && m.y * n.z == m.z * n.y && m.z * n.x == m.x * n.z && dot(m, n).sign() > 0;
}

// Two pieces are merged only where their boxes overlap much: the
// slivers of a fan, whose boxes all reach across the cap, become one
// polygon with one box, while pieces lying side by side (a face cut into
// tiles by earlier Booleans) stay apart, small, and shared with the
// operand where a Boolean keeps them whole.
constexpr double kOverlap = 0.75;

// The area of the box's shadow on the plane's frame.
double box_area(const Float3& lo, const Float3& hi, const Frame& fr) {
    return (hi[fr.u] - lo[fr.u]) * (hi[fr.v] - lo[fr.v]);
}

// The orientation of (a, b, c) seen from the tip of the plane's normal.
int turn(const Loops& l, std::uint32_t a, std::uint32_t b, std::uint32_t c, const Frame& fr) {
    return orient2d(*l.point[a], *l.fpoint[a], *l.point[b], *l.fpoint[b], *l.point[c], *l.fpoint[c], fr.u, fr.v);
}

// Whether the loop stays convex at a when it comes in from x and leaves to
// y: a left turn, or straight on (never back along the same line).
bool convex_corner(const Loops& l, std::uint32_t x, std::uint32_t a, std::uint32_t y, const Frame& fr) {
    if (const int t = turn(l, x, a, y, fr); t != 0) return t > 0;
    return dot(sub(*l.point[a], *l.point[x]), sub(*l.point[y], *l.point[a])).sign() > 0;
}

// The polygons worth merging: slivers (their area under a quarter of their
// box's, in the plane's projection, as in the thin triangles of a fan)
// whose float plane (Newell normal scaled to a largest component of 1, and
// its offset) rounds to the same key as another sliver's. Chunky pieces
// are left as they are: their boxes are small already, and a Boolean that
// keeps them whole shares their loops with the operand. A miss (two
// copies of one plane rounded apart) only leaves facets unmerged.
std::vector<std::uint32_t> merge_candidates(std::span<const Polygon* const> polygons) {
    using Key = std::array<std::int64_t, 4>;
    std::vector<std::pair<Key, std::uint32_t>> keys;
    keys.reserve(polygons.size());
    for (std::uint32_t p = 0; p < polygons.size(); ++p) {
        const std::vector<Float3>& f = polygons[p]->float_vertices();
        Float3 n{0, 0, 0};
        for (std::size_t v = 0; v < f.size(); ++v) {
            const Float3& a = f[v];
            const Float3& b = f[(v + 1) % f.size()];
            n[0] += (a[1] - b[1]) * (a[2] + b[2]);
            n[1] += (a[2] - b[2]) * (a[0] + b[0]);
            n[2] += (a[0] - b[0]) * (a[1] + b[1]);
        }
        const double top = std::max({std::fabs(n[0]), std::fabs(n[1]), std::fabs(n[2])});
        const std::size_t k = top == std::fabs(n[0]) ? 0 : top == std::fabs(n[1]) ? 1 : 2;
        const std::size_t i = (k + 1) % 3, j = (k + 2) % 3;
        const Float3& lo = polygons[p]->float_low();
        const Float3& hi = polygons[p]->float_high();
        if (!(2 * top < (hi[i] - lo[i]) * (hi[j] - lo[j]))) continue;  // |n_k| is twice the projected area
        const double w = (n[0] * f[0][0] + n[1] * f[0][1] + n[2] * f[0][2]) / top;
        Key key{};
        const double parts[4] = {n[0] / top, n[1] / top, n[2] / top, w};
        bool plain = top > 0 && std::isfinite(top);
        for (std::size_t c = 0; c < 4 && plain; ++c) {
            const double scaled = std::ldexp(parts[c], 24);
            plain = std::fabs(scaled) < 0x1p62;
            if (plain) key[c] = std::llround(scaled);
        }
        if (!plain) key = {INT64_MIN, 0, 0, 0};  // no usable float plane: always a candidate
        keys.push_back({key, p});
    }
    std::sort(keys.begin(), keys.end());
    std::vector<std::uint32_t> out;
    for (std::size_t i = 0; i < keys.size(); ++i) {
        const bool before = i > 0 && keys[i - 1].first == keys[i].first;
        const bool after = i + 1 < keys.size() && keys[i + 1].first == keys[i].first;
        if (before || after || keys[i].first[0] == INT64_MIN) out.push_back(keys[i].second);
    }
    std::sort(out.begin(), out.end());
    return out;
}

// Merges within the given polygons; per polygon, what stands for it: itself,
// its merged piece (at the piece's first member) or nothing.
std::vector<const Polygon*> merge_group(std::span<const Polygon* const> polygons, std::deque<Polygon>& made) {
    Loops l = loops_of(polygons);
    const auto halves = static_cast<std::uint32_t>(l.poly.size());
    std::unordered_map<std::uint64_t, std::uint32_t> edges;
    edges.reserve(halves);
    for (std::uint32_t h = 0; h < halves; ++h) {
        const auto [it, fresh] = edges.try_emplace(edge_key(l.from[h], l.from[l.next[h]]), h);
        if (!fresh) it->second = kShared;
    }
    UnionFind pieces(polygons.size());
    std::vector<std::uint32_t> members(polygons.size(), 1);
    std::vector<Float3> low, high;  // each piece's float box
    for (const Polygon* p : polygons) {
        low.push_back(p->float_low());
        high.push_back(p->float_high());
    }
    for (std::uint32_t h = 0; h < halves; ++h) {
        guard::poll();
        if (l.next[h] == kShared) continue;
        const std::uint32_t a = l.from[h], b = l.from[l.next[h]];
        const auto twin = edges.find(edge_key(b, a));
        if (twin == edges.end() || twin->second == kShared || twin->second < h) continue;
        if (edges.find(edge_key(a, b))->second == kShared) continue;
        const std::uint32_t t = twin->second;
        const Polygon& p = *polygons[l.poly[h]];
        const Polygon& q = *polygons[l.poly[t]];
        const std::uint32_t rp = pieces.find(l.poly[h]), rq = pieces.find(l.poly[t]);
        if (rp == rq || p.label != q.label || !same_plane(p.plane, q.plane)) continue;
        // Across h (a to b) and its twin t (b to a) the loops become
        // ... x a y ... and ... u b v ...; both corners must stay convex.
        const Frame fr = frame_for(p.plane.normal);
        Float3 lo = low[rp], hi = high[rp];
        widen(lo, hi, low[rq]);
        widen(lo, hi, high[rq]);
        if (!(box_area(lo, hi, fr) < kOverlap * (box_area(low[rp], high[rp], fr) + box_area(low[rq], high[rq], fr)))) {
            continue;
        }
        const std::uint32_t ph = l.prev[h], nh = l.next[h], pt = l.prev[t], nt = l.next[t];
        if (!convex_corner(l, ph, h, l.next[nt], fr) || !convex_corner(l, pt, t, l.next[nh], fr)) continue;
        l.next[ph] = nt;
        l.prev[nt] = ph;
        l.next[pt] = nh;
        l.prev[nh] = pt;
        l.next[h] = l.next[t] = kShared;  // no longer on any loop
        const std::uint32_t count = members[rp] + members[rq];
        pieces.join(rp, rq);
        const std::uint32_t root = pieces.find(rp);
        members[root] = count;
        low[root] = lo;
        high[root] = hi;
    }
    // One live half-edge of each merged piece, to walk its loop from.
    std::vector<std::uint32_t> start(polygons.size(), kShared);
    for (std::uint32_t h = 0; h < halves; ++h) {
        if (l.next[h] != kShared) start[pieces.find(l.poly[h])] = h;
    }
    std::vector<const Polygon*> out(polygons.size(), nullptr);
    for (std::uint32_t p = 0; p < polygons.size(); ++p) {
        const std::uint32_t r = pieces.find(p);
        if (members[r] == 1) {
            out[p] = polygons[p];
            continue;
        }
        if (r != p) continue;  // the first member stands for the piece
        // The loop starts just before a strict corner: a transform takes a
        // polygon's plane from its first three vertices, which a straight
        // run through a removed edge's end would leave in a line.
        const Frame fr = frame_for(polygons[p]->plane.normal);
        std::uint32_t h = start[r];
        while (turn(l, h, l.next[h], l.next[l.next[h]], fr) == 0) h = l.next[h];
        std::vector<Vec3> vertices;
        std::vector<Float3> floats;
        const std::uint32_t first = h;
        do {
            vertices.push_back(*l.point[h]);
            floats.push_back(*l.fpoint[h]);
            h = l.next[h];
        } while (h != first);
        made.push_back(
            Polygon::assemble(std::move(vertices), std::move(floats), polygons[p]->plane, polygons[p]->label, true));
        out[p] = &made.back();
    }
    return out;
}

}  // namespace

std::vector<const Polygon*> merge_coplanar(std::span<const Polygon* const> polygons, std::deque<Polygon>& made) {
    const std::vector<std::uint32_t> candidates = merge_candidates(polygons);
    if (candidates.size() < 2) return {polygons.begin(), polygons.end()};
    std::vector<const Polygon*> group;
    for (std::uint32_t p : candidates) group.push_back(polygons[p]);
    const std::vector<const Polygon*> merged = merge_group(group, made);
    std::vector<const Polygon*> out;
    out.reserve(polygons.size());
    std::size_t next = 0;  // the next candidate
    for (std::uint32_t p = 0; p < polygons.size(); ++p) {
        if (next < candidates.size() && candidates[next] == p) {
            if (merged[next] != nullptr) out.push_back(merged[next]);
            ++next;
        } else {
            out.push_back(polygons[p]);
        }
    }
    return out;
}

}  // namespace corv::local
