#include "local/facet_soup.h"

#include <algorithm>
#include <cmath>

#include "local/filtered.h"
#include "local/merge_coplanar.h"

namespace corv::local {
namespace {

// The usable form of a polygon: itself, a repaired copy, or nothing.
const Polygon* usable(const Polygon& p, std::deque<Polygon>& repaired) {
    if (p.vertices().size() < 3) return nullptr;
    const Vec3& n = p.plane.normal;
    const bool plane_ok = !(n.x.is_zero() && n.y.is_zero() && n.z.is_zero());
    if (plane_ok) return p.is_degenerate() ? nullptr : &p;
    Polygon copy = Polygon::with_plane(p.vertices(), p.plane, p.label);
    if (copy.is_degenerate()) return nullptr;
    if (!plane_ok) {
        Vec3 area = copy.vector_area2();
        Rational offset = dot(area, copy.vertices()[0]);
        copy.plane = Plane{std::move(area), std::move(offset)};
    }
    repaired.push_back(std::move(copy));
    return &repaired.back();
}

std::array<std::uint32_t, 3> best_triple(const std::vector<Float3>& f) {
    std::array<std::uint32_t, 3> best{0, 1, 2};
    double best_area = -1;
    for (std::size_t i = 1; i + 1 < f.size(); ++i) {
        const double ax = f[i][0] - f[0][0], ay = f[i][1] - f[0][1], az = f[i][2] - f[0][2];
        const double bx = f[i + 1][0] - f[0][0], by = f[i + 1][1] - f[0][1], bz = f[i + 1][2] - f[0][2];
        const double cx = ay * bz - az * by, cy = az * bx - ax * bz, cz = ax * by - ay * bx;
        const double a = cx * cx + cy * cy + cz * cz;
        if (a > best_area) {
            best_area = a;
            best = {0, static_cast<std::uint32_t>(i), static_cast<std::uint32_t>(i + 1)};
        }
    }
    return best;
}

}  // namespace

FacetSoup make_soup(std::span<const Solid* const> operands, std::span<const std::uint8_t> groups) {
    FacetSoup soup;
    std::vector<const Polygon*> usable_polygons;
    for (std::size_t k = 0; k < operands.size(); ++k) {
        usable_polygons.clear();
        for (const Polygon& p : operands[k]->polygons) {
            if (const Polygon* use = usable(p, soup.repaired)) usable_polygons.push_back(use);
        }
        for (const Polygon* use : merge_coplanar(usable_polygons, soup.repaired)) {
            Facet f;
            f.polygon = use;
            f.operand = static_cast<std::uint32_t>(k);
            f.group = groups[k];
            f.nz = static_cast<std::int8_t>(use->plane.normal.z.sign());
            f.triple = best_triple(use->float_vertices());
            f.lo = f.hi = use->float_vertices()[0];
            for (const Float3& v : use->float_vertices()) {
                for (std::size_t a = 0; a < 3; ++a) {
                    f.lo[a] = std::min(f.lo[a], v[a]);
                    f.hi[a] = std::max(f.hi[a], v[a]);
                }
            }
            soup.facets.push_back(f);
        }
    }
    return soup;
}

int facet_side(const Facet& f, const Vec3& p, const Float3& fp) {
    const std::vector<Float3>& fv = f.polygon->float_vertices();
    const int s = orient3d_filter(fv[f.triple[0]], fv[f.triple[1]], fv[f.triple[2]], fp);
    if (s != 0) return s;
    // Mostly a point the screen leaves open is a corner of the facet itself
    // (neighbours share corners): on the plane, with no arithmetic. Small
    // loops are searched whole.
    const std::vector<Vec3>& v = f.polygon->vertices();
    const std::size_t n = v.size();
    for (std::size_t k = 0; k < (n <= 16 ? n : 3); ++k) {
        const std::size_t at = n <= 16 ? k : f.triple[k];
        if (fv[at] == fp && v[at] == p) return 0;
    }
    return f.polygon->plane.side(p);
}

bool boxes_meet(const Facet& a, const Facet& b) {
    for (std::size_t k = 0; k < 3; ++k) {
        if (a.hi[k] < b.lo[k] || b.hi[k] < a.lo[k]) return false;
    }
    return true;
}

}  // namespace corv::local
