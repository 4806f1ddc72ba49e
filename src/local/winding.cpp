#include "local/winding.h"

#include <algorithm>

#include "local/filtered.h"

namespace corv::local {
namespace {

int rsign(const Rational& r) { return r.sign(); }

// Sign of (y of v) - (y of p*) for the perturbation s: the exact difference
// first, then -s nf_y (delta), then -1 (eps^2).
int y_side(const Vec3& v, const Float3& fv, const Vec3& q, const Float3& fq, int nfy, int s) {
    const int d = compare_exact(v.y, fv[1], q.y, fq[1]);
    if (d != 0) return d;
    if (nfy != 0) return -s * nfy;
    return -1;
}

// Which side of the plane of f the perturbed point p* lies, for s = +1, -1.
std::array<int, 2> plane_sides(const Facet& f, const Vec3& q, const Float3& fq, const Vec3& nf) {
    const int s0 = facet_side(f, q, fq);
    if (s0 != 0) return {s0, s0};
    // n . p* - w = s delta (n . nf) + eps n_x + eps^2 n_y + eps^3 n_z.
    const Vec3& n = f.polygon->plane.normal;
    const int along = rsign(dot(n, nf));
    int rest = rsign(n.x);
    if (rest == 0) rest = rsign(n.y);
    if (rest == 0) rest = rsign(n.z);
    return {along != 0 ? along : rest, along != 0 ? -along : rest};
}

}  // namespace

std::array<bool, 2> projection_contains(const Polygon& loop, const Vec3& q, const Float3& fq, const Vec3& nf) {
    const std::vector<Vec3>& v = loop.vertices();
    const std::vector<Float3>& fv = loop.float_vertices();
    const std::size_t n = v.size();
    const int nfy = rsign(nf.y);
    std::array<bool, 2> inside{false, false};
    static constexpr int kS[2] = {1, -1};
    std::array<int, 2> ya{y_side(v[n - 1], fv[n - 1], q, fq, nfy, 1), y_side(v[n - 1], fv[n - 1], q, fq, nfy, -1)};
    for (std::size_t i = 0; i < n; ++i) {
        const std::size_t prev = i == 0 ? n - 1 : i - 1;
        const Vec3& a = v[prev];
        const Vec3& b = v[i];
        const std::array<int, 2> yb{y_side(b, fv[i], q, fq, nfy, 1), y_side(b, fv[i], q, fq, nfy, -1)};
        int o0 = 2;  // not computed yet
        for (std::size_t k = 0; k < 2; ++k) {
            if (ya[k] == yb[k]) continue;
            if (o0 == 2) o0 = orient2d(a, fv[prev], b, fv[i], q, fq, 0, 1);
            int o = o0;
            if (o == 0) {
                // orient(a, b, p*) = s delta det(b - a, nf_xy) - eps (b_y - a_y) + eps^2 (b_x - a_x).
                const Rational det = (b.x - a.x) * nf.y - (b.y - a.y) * nf.x;
                o = kS[k] * rsign(det);
                if (o == 0) o = -compare_exact(b.y, fv[i][1], a.y, fv[prev][1]);
            }
            // An upward edge is crossed to the right of p* when p* is on its left.
            if ((yb[k] > 0) == (o > 0)) inside[k] = !inside[k];
        }
        ya = yb;
    }
    return inside;
}

Columns make_columns(const Soup& soup) {
    const std::size_t n = soup.facets.size();
    std::vector<Float3> lo(n), hi(n);
    Float3 all_lo{0, 0, 0}, all_hi{0, 0, 0};
    bool any = false;
    std::size_t live = 0;
    for (std::size_t i = 0; i < n; ++i) {
        const Facet& f = soup.facets[i];
        lo[i] = f.lo;
        hi[i] = f.hi;
        if (f.nz == 0) {
            lo[i][0] = 1;  // an empty box: vertical facets never count
            hi[i][0] = 0;
            continue;
        }
        ++live;
        if (!any) {
            all_lo = f.lo;
            all_hi = f.hi;
            any = true;
        }
        for (std::size_t a = 0; a < 2; ++a) {
            all_lo[a] = std::min(all_lo[a], f.lo[a]);
            all_hi[a] = std::max(all_hi[a], f.hi[a]);
        }
    }
    return Columns{make_grid(all_lo, all_hi, std::max<std::size_t>(live, 1), {false, false, true}, n, lo, hi)};
}

Windings windings_at(const Soup& soup, const Columns& columns, std::size_t own, const Vec3& q, const Float3& fq,
                     const Vec3& nf) {
    Windings w;
    // p* lies just off the own plane, on the side of +-nf: the plane is above
    // the front point when it faces down, above the back point when it faces up.
    const Facet& self = soup.facets[own];
    if (self.nz < 0) w.front[self.group] += self.nz;
    if (self.nz > 0) w.back[self.group] += self.nz;
    const Grid& g = columns.grid;
    const std::size_t cell = g.cell_index(g.cell_along(0, fq[0]), g.cell_along(1, fq[1]), 0);
    for (const std::uint32_t id : g.bucket(cell)) {
        if (id == own) continue;
        const Facet& f = soup.facets[id];
        if (fq[0] < f.lo[0] || fq[0] > f.hi[0] || fq[1] < f.lo[1] || fq[1] > f.hi[1]) continue;
        // The facet's plane is above p* when (w - n . p*) has the sign of n_z.
        const std::array<int, 2> side = plane_sides(f, q, fq, nf);
        const bool above_f = -side[0] * f.nz > 0;
        const bool above_b = -side[1] * f.nz > 0;
        if (!above_f && !above_b) continue;
        const std::array<bool, 2> in = projection_contains(*f.polygon, q, fq, nf);
        if (above_f && in[0]) w.front[f.group] += f.nz;
        if (above_b && in[1]) w.back[f.group] += f.nz;
    }
    return w;
}

}  // namespace corv::local
