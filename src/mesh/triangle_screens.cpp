#include "mesh/triangle_screens.h"

#include <algorithm>
#include <cmath>

namespace corv {

// local::orient3d_filter(a, b, c, d) bounds the error of its determinant by
// 2^-47 times P3 = sum over x of M_x p_x, where M_x = |d_x| + |a_x| and p
// comes from the magnitudes of b - a and c - a, all computed in doubles.
// With G_x the largest |coordinate x| among the mesh's doubles, G_x + |a_x|
// rounds to at least M_x for every corner d of the mesh (rounding is
// monotone), so P3 computed from it bounds that of every point: the same
// proof holds with the larger bound, which depends on the triangle alone.
std::vector<ScreenedTriangle> screened_triangles(const std::vector<Float3>& f, const std::vector<Corners>& corners) {
    Float3 g{0, 0, 0};
    for (const Float3& p : f) {
        for (std::size_t x = 0; x < 3; ++x) g[x] = std::max(g[x], std::fabs(p[x]));
    }
    std::vector<ScreenedTriangle> out;
    out.reserve(corners.size());
    for (const Corners& c : corners) {
        const Float3 &a = f[c[0]], &b = f[c[1]], &d = f[c[2]];
        double u[3], v[3], mu[3], mv[3];
        for (std::size_t x = 0; x < 3; ++x) {
            u[x] = b[x] - a[x];
            v[x] = d[x] - a[x];
            mu[x] = std::fabs(b[x]) + std::fabs(a[x]);
            mv[x] = std::fabs(d[x]) + std::fabs(a[x]);
        }
        ScreenedTriangle s{
            c, {a, b, d}, {u[1] * v[2] - u[2] * v[1], u[2] * v[0] - u[0] * v[2], u[0] * v[1] - u[1] * v[0]}, 0, 0, 0};
        const double p[3] = {mu[1] * mv[2] + mu[2] * mv[1], mu[2] * mv[0] + mu[0] * mv[2],
                             mu[0] * mv[1] + mu[1] * mv[0]};
        double perm = 0;
        for (std::size_t x = 0; x < 3; ++x) perm += (g[x] + std::fabs(a[x])) * p[x];
        if (perm >= 0x1p-900 && std::isfinite(perm)) s.bound = perm * 0x1p-47;
        const double n[3] = {std::fabs(s.cross[0]), std::fabs(s.cross[1]), std::fabs(s.cross[2])};
        s.axis = n[0] >= n[1] && n[0] >= n[2] ? 0 : (n[1] >= n[2] ? 1 : 2);
        s.turn = static_cast<std::int8_t>(orient2d_screen(a, b, d, (s.axis + 1) % 3, (s.axis + 2) % 3));
        out.push_back(s);
    }
    return out;
}

int screened_side(const ScreenedTriangle& s, const Float3& d) {
    const Float3& a = s.f[0];
    const double t = (d[0] - a[0]) * s.cross[0] + (d[1] - a[1]) * s.cross[1] + (d[2] - a[2]) * s.cross[2];
    if (t > s.bound && s.bound > 0 && std::isfinite(t)) return 1;
    if (t < -s.bound && s.bound > 0 && std::isfinite(t)) return -1;
    return 0;
}

namespace {

// Whether the line through w square to the line joining the shadows'
// centroids has the unshared corners of a strictly on one side and those of
// b strictly on the other (w is a double, so exact like any corner).
bool split_by_line(const ScreenedTriangle& a, const ScreenedTriangle& b, const Float3& w, int i, int j) {
    const auto ui = static_cast<std::size_t>(i), uj = static_cast<std::size_t>(j);
    double d[2] = {0, 0};
    for (std::size_t c = 0; c < 3; ++c) {
        d[0] += a.f[c][ui] - b.f[c][ui];
        d[1] += a.f[c][uj] - b.f[c][uj];
    }
    Float3 w2 = w;
    w2[ui] -= d[1];
    w2[uj] += d[0];
    int want = 0;
    for (const ScreenedTriangle* t : {&a, &b}) {
        const ScreenedTriangle& other = t == &a ? b : a;
        for (std::size_t c = 0; c < 3; ++c) {
            if (std::ranges::count(other.corners, t->corners[c]) > 0) continue;
            const int o = orient2d_screen(w, w2, t->f[c], i, j) * (t == &a ? 1 : -1);
            if (o == 0 || (want != 0 && o != want)) return false;
            want = o;
        }
    }
    return true;
}

}  // namespace

bool shadows_apart(const ScreenedTriangle& a, const ScreenedTriangle& b, std::size_t k) {
    const int i = static_cast<int>((k + 1) % 3), j = static_cast<int>((k + 2) % 3);
    const ScreenedTriangle* tri[2] = {&a, &b};
    int turn[2];
    for (std::size_t x = 0; x < 2; ++x) {
        const ScreenedTriangle& t = *tri[x];
        turn[x] = t.axis == k ? t.turn : orient2d_screen(t.f[0], t.f[1], t.f[2], i, j);
    }
    if (turn[0] == 0 && turn[1] == 0) return false;
    // A line between the two, through their shared corner if there is one,
    // mostly keeps them apart; where it does not (shadows whose sides run on
    // along each other's lines, as in a grid, may still need it), a side.
    int shared = 0;
    Float3 at{};
    for (std::size_t c = 0; c < 3; ++c) {
        if (std::ranges::count(b.corners, a.corners[c]) == 0) continue;
        ++shared;
        at = a.f[c];
    }
    if (shared == 0) {
        for (std::size_t c = 0; c < 3; ++c) {
            at[c] = (a.f[0][c] + a.f[1][c] + a.f[2][c] + b.f[0][c] + b.f[1][c] + b.f[2][c]) / 6;
        }
    }
    if (shared <= 1 && split_by_line(a, b, at, i, j)) return true;
    for (std::size_t x = 0; x < 2; ++x) {
        const ScreenedTriangle &own = *tri[x], &other = *tri[1 - x];
        for (std::size_t e = 0; e < 3 && turn[x] != 0; ++e) {  // a shadow without area has no outside
            const std::size_t e1 = (e + 1) % 3;
            const std::uint64_t u = own.corners[e], v = own.corners[e1], w = own.corners[(e + 2) % 3];
            bool outside = true;
            for (std::size_t y = 0; y < 3 && outside; ++y) {
                const std::uint64_t p = other.corners[y];
                if (p == u || p == v) continue;
                outside = p != w && turn[x] * orient2d_screen(own.f[e], own.f[e1], other.f[y], i, j) < 0;
            }
            if (outside) return true;
        }
    }
    return false;
}

}  // namespace corv
