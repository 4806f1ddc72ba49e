#include "local/winding.h"

#include <algorithm>

#include "local/filtered.h"

namespace corv::local {
namespace {

int rsign(const Rational& r) { return r.sign(); }

// Sign of (y of vertex) - (y of p*) for the perturbation side s: the exact
// difference first, then the terms in eps, eps^2 and delta. One of u, v and
// nf has a y component, so the answer is never 0.
int y_side(const Vec3& vertex, const Float3& fvertex, const Vec3& q, const Float3& fq, const Perturbation& d, int s) {
    const int diff = compare_exact(vertex.y, fvertex[1], q.y, fq[1]);
    if (diff != 0) return diff;
    if (const int uy = rsign(d.u.y); uy != 0) return -uy;
    if (const int vy = rsign(d.v.y); vy != 0) return -vy;
    return -s * rsign(d.nf.y);
}

// Sign of the 2-D determinant det(e, t) = e_x t_y - e_y t_x.
int det_sign(const Rational& ex, const Rational& ey, const Vec3& t) { return (ex * t.y - ey * t.x).sign(); }

// Which side of the plane of f the perturbed point p* lies, for s = +1, -1.
std::array<int, 2> plane_sides(const Facet& f, const Vec3& q, const Float3& fq, const Perturbation& d) {
    const int s0 = facet_side(f, q, fq);
    if (s0 != 0) return {s0, s0};
    // n . p* - w = eps (n . u) + eps^2 (n . v) + s delta (n . nf); when the
    // first two vanish n is parallel to nf, so the last does not.
    const Vec3& n = f.polygon->plane.normal;
    if (const int along_u = rsign(dot(n, d.u)); along_u != 0) return {along_u, along_u};
    if (const int along_v = rsign(dot(n, d.v)); along_v != 0) return {along_v, along_v};
    const int along = rsign(dot(n, d.nf));
    return {along, -along};
}

}  // namespace

Perturbation perturbation_of(const Vec3& nf) {
    std::size_t k = 0;
    while (k < 2 && nf[k].is_zero()) ++k;
    const std::size_t i = (k + 1) % 3, j = (k + 2) % 3;
    Perturbation d{Vec3{0, 0, 0}, Vec3{0, 0, 0}, nf};
    d.u[i] = nf[k];
    d.u[k] = -nf[i];
    d.v[j] = nf[k];
    d.v[k] = -nf[j];
    return d;
}

std::array<bool, 2> projection_contains(const Polygon& loop, const Vec3& q, const Float3& fq, const Perturbation& d) {
    const std::vector<Vec3>& v = loop.vertices();
    const std::vector<Float3>& fv = loop.float_vertices();
    const std::size_t n = v.size();
    std::array<bool, 2> inside{false, false};
    static constexpr int kS[2] = {1, -1};
    std::array<int, 2> ya{y_side(v[n - 1], fv[n - 1], q, fq, d, 1), y_side(v[n - 1], fv[n - 1], q, fq, d, -1)};
    for (std::size_t i = 0; i < n; ++i) {
        const std::size_t prev = i == 0 ? n - 1 : i - 1;
        const Vec3& a = v[prev];
        const Vec3& b = v[i];
        const std::array<int, 2> yb{y_side(b, fv[i], q, fq, d, 1), y_side(b, fv[i], q, fq, d, -1)};
        int o0 = 2;  // not computed yet; 0 when only the delta term decides
        int o_delta = 0;
        for (std::size_t k = 0; k < 2; ++k) {
            if (ya[k] == yb[k]) continue;
            if (o0 == 2) {
                o0 = orient2d(a, fv[prev], b, fv[i], q, fq, 0, 1);
                if (o0 == 0) {
                    // orient(a, b, p*) = eps det(b - a, u) + eps^2 det(b - a, v)
                    //                  + s delta det(b - a, nf) in the xy plane.
                    const Rational ex = b.x - a.x, ey = b.y - a.y;
                    o0 = det_sign(ex, ey, d.u);
                    if (o0 == 0) o0 = det_sign(ex, ey, d.v);
                    if (o0 == 0) o_delta = det_sign(ex, ey, d.nf);
                }
            }
            const int o = o0 != 0 ? o0 : kS[k] * o_delta;
            // An upward edge is crossed to the right of p* when p* is on its left.
            if ((yb[k] > 0) == (o > 0)) inside[k] = !inside[k];
        }
        ya = yb;
    }
    return inside;
}

Columns make_columns(const FacetSoup& soup) {
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

Windings windings_at(const FacetSoup& soup, const Columns& columns, std::size_t own, const Vec3& q, const Float3& fq,
                     const Vec3& nf) {
    Windings w;
    // p* lies just off the own plane, on the side of +-nf: the plane is above
    // the front point when it faces down, above the back point when it faces up.
    const Facet& self = soup.facets[own];
    if (self.nz < 0) w.front[self.group] += self.nz;
    if (self.nz > 0) w.back[self.group] += self.nz;
    const Perturbation d = perturbation_of(nf);
    const Grid& g = columns.grid;
    const std::size_t cell = g.cell_index(g.cell_along(0, fq[0]), g.cell_along(1, fq[1]), 0);
    for (const std::uint32_t id : g.bucket(cell)) {
        if (id == own) continue;
        const Facet& f = soup.facets[id];
        if (fq[0] < f.lo[0] || fq[0] > f.hi[0] || fq[1] < f.lo[1] || fq[1] > f.hi[1]) continue;
        // The facet's plane is above p* when (w - n . p*) has the sign of n_z.
        const std::array<int, 2> side = plane_sides(f, q, fq, d);
        const bool above_f = -side[0] * f.nz > 0;
        const bool above_b = -side[1] * f.nz > 0;
        if (!above_f && !above_b) continue;
        const std::array<bool, 2> in = projection_contains(*f.polygon, q, fq, d);
        if (above_f && in[0]) w.front[f.group] += f.nz;
        if (above_b && in[1]) w.back[f.group] += f.nz;
    }
    return w;
}

}  // namespace corv::local
