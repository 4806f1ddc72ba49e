#include "mesh/fans.h"

#include <cmath>

#include "core/guard.h"
#include "local/filtered.h"

namespace corv {
namespace {

struct Use {
    std::uint32_t triangle;
    std::uint32_t corner;  // the point's place in the triangle
};

// The triangles around each point, as ranges of one list.
void uses_of(std::size_t points, const std::vector<ScreenedTriangle>& tris, std::vector<std::size_t>& start,
             std::vector<Use>& uses) {
    start.assign(points + 1, 0);
    for (const ScreenedTriangle& t : tris) {
        for (std::uint64_t c : t.corners) ++start[c + 1];
    }
    for (std::size_t p = 0; p < points; ++p) start[p + 1] += start[p];
    uses.resize(start[points]);
    std::vector<std::size_t> fill(start.begin(), start.end() - 1);
    for (std::size_t t = 0; t < tris.size(); ++t) {
        for (std::uint32_t c = 0; c < 3; ++c) uses[fill[tris[t].corners[c]]++] = {static_cast<std::uint32_t>(t), c};
    }
}

// How a fan around V is seen: along a coordinate axis k (2-D orientations
// of the other two coordinates), or along the direction from V to a point
// `tip` (orientations of (V, p, q) against tip: the sign of
// ((p - V) x (q - V)) . (tip - V)). Both are screened in doubles; tip is a
// double, as exact as any corner.
struct Seen {
    std::size_t k;
    bool along_axis;
    Float3 tip;
};

int turn_seen(const Seen& s, const Float3& v, const Float3& p, const Float3& q) {
    if (!s.along_axis) return local::orient3d_filter(v, p, q, s.tip);
    return orient2d_screen(v, p, q, static_cast<int>((s.k + 1) % 3), static_cast<int>((s.k + 2) % 3));
}

// The triangles (V, p, q) around V, seen along an axis or a direction
// where all keep their area, all turn one way; then the wedges from V
// between p and q wind around V as many times as they hold a direction w
// off all their sides: once means they tile the plane around V without
// overlapping. A triangle lies in its wedge and keeps its area, so two
// triangles meet only over the wedges' overlap: V, or the side of the two
// next to each other in the fan. Each p is some other triangle's q (the
// fan closes), so the side of w against each line from V is screened once,
// at p.
constexpr std::size_t kMost = 64;  // larger fans are left unsettled

bool plain_seen(const std::vector<ScreenedTriangle>& tris, const Use* fan, std::size_t n, const Seen& seen,
                const Float3& w) {
    std::uint64_t ps[kMost];
    int at_p[kMost];  // the side of w against the line from V through each p
    int turn = 0;
    const Float3& v = tris[fan[0].triangle].f[fan[0].corner];
    for (std::size_t u = 0; u < n; ++u) {
        const ScreenedTriangle& t = tris[fan[u].triangle];
        const std::uint32_t c = fan[u].corner;
        const Float3 &p = t.f[(c + 1) % 3], &q = t.f[(c + 2) % 3];
        const int s = seen.along_axis && t.axis == seen.k ? t.turn : turn_seen(seen, v, p, q);
        if (s == 0 || (turn != 0 && s != turn)) return false;
        turn = s;
        ps[u] = t.corners[(c + 1) % 3];
        at_p[u] = turn_seen(seen, v, p, w);
        if (at_p[u] == 0) return false;
    }
    int holding = 0;
    for (std::size_t u = 0; u < n; ++u) {
        const std::uint64_t q = tris[fan[u].triangle].corners[(fan[u].corner + 2) % 3];
        std::size_t next = 0;
        while (next < n && ps[next] != q) ++next;
        if (next == n) return false;
        // w lies in the wedge when it is left of V -> p and right of V -> q
        // (for a fan turning left).
        holding += turn * at_p[u] > 0 && turn * at_p[next] < 0 ? 1 : 0;
    }
    return holding == 1;
}

// Seen first along the axis where the fan's normals' sum is largest (a
// smooth surface's fan keeps its area there), else along that sum itself
// (where faces meet at an edge or a corner, as on a machined part).
bool plain(const std::vector<ScreenedTriangle>& tris, const Use* fan, std::size_t n) {
    if (n < 3 || n > kMost) return false;
    Float3 sum{0, 0, 0};
    for (std::size_t u = 0; u < n; ++u) {
        for (std::size_t x = 0; x < 3; ++x) sum[x] += tris[fan[u].triangle].cross[x];
    }
    const double a[3] = {std::fabs(sum[0]), std::fabs(sum[1]), std::fabs(sum[2])};
    const std::size_t k = a[0] >= a[1] && a[0] >= a[2] ? 0 : (a[1] >= a[2] ? 1 : 2);
    const ScreenedTriangle& first = tris[fan[0].triangle];
    const Float3& v = first.f[fan[0].corner];
    Float3 w = v;  // a direction within the first wedge: towards the middle of its far side
    for (std::size_t x = 0; x < 3; ++x) {
        w[x] = 0.5 * (first.f[(fan[0].corner + 1) % 3][x] + first.f[(fan[0].corner + 2) % 3][x]);
    }
    if (plain_seen(tris, fan, n, Seen{k, true, {}}, w)) return true;
    // The tip: V moved along the sum by about the fan's size.
    const double size = std::fabs(w[0] - v[0]) + std::fabs(w[1] - v[1]) + std::fabs(w[2] - v[2]);
    const double scale = size / (a[0] + a[1] + a[2]);
    if (!std::isfinite(scale) || !(scale > 0)) return false;
    Float3 tip;
    for (std::size_t x = 0; x < 3; ++x) tip[x] = v[x] + scale * sum[x];
    return plain_seen(tris, fan, n, Seen{k, false, tip}, w);
}

}  // namespace

std::vector<std::uint8_t> plain_fans(std::size_t points, const std::vector<ScreenedTriangle>& triangles) {
    std::vector<std::size_t> start;
    std::vector<Use> uses;
    uses_of(points, triangles, start, uses);
    std::vector<std::uint8_t> out(points, 0);
    guard::Watch* watch = guard::current();
    for (std::size_t p = 0; p < points; ++p) {
        guard::poll(watch, 1);
        out[p] = plain(triangles, uses.data() + start[p], start[p + 1] - start[p]) ? 1 : 0;
    }
    return out;
}

}  // namespace corv
