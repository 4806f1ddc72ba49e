#include "local/cut_planes.h"

#include "local/filtered.h"

namespace corv::local {
namespace {

// Bit 1: a vertex in front, bit 2: a vertex behind, bit 4: a vertex on it.
unsigned sides_of(const Facet& plane_of, const Polygon& p) {
    unsigned bits = 0;
    for (std::size_t v = 0; v < p.vertices.size(); ++v) {
        const int s = facet_side(plane_of, p.vertices[v], p.float_vertices[v]);
        bits |= s > 0 ? 1u : (s < 0 ? 2u : 4u);
    }
    return bits;
}

}  // namespace

Relation relation(const Facet& p, const Facet& q) {
    const unsigned ps = sides_of(q, *p.polygon);
    if (ps == 4u) return Relation::coplanar;
    if ((ps & 3u) != 3u) return Relation::apart;
    const unsigned qs = sides_of(p, *q.polygon);
    if (qs == 1u || qs == 2u) return Relation::apart;
    return Relation::across;
}

CellCuts cell_cuts(const Soup& soup, const Facet& p, const std::vector<std::uint32_t>& candidates) {
    CellCuts cuts;
    for (const std::uint32_t id : candidates) {
        const Facet& q = soup.facets[id];
        const Relation r = relation(p, q);
        if (r == Relation::apart) continue;
        const Polygon& qp = *q.polygon;
        if (r == Relation::across) {
            cuts.planes.push_back({qp.plane, float_plane(qp.plane)});
            continue;
        }
        cuts.coplanar.push_back(id);
        const std::size_t n = qp.vertices.size();
        for (std::size_t v = 0; v < n; ++v) {
            const Vec3& a = qp.vertices[v];
            const Vec3& b = qp.vertices[(v + 1) % n];
            Vec3 m = cross(qp.plane.normal, sub(b, a));
            if (m.x.is_zero() && m.y.is_zero() && m.z.is_zero()) continue;
            Rational w = dot(m, a);
            Plane edge{std::move(m), std::move(w)};
            FloatPlane fp = float_plane(edge);
            cuts.planes.push_back({std::move(edge), fp});
        }
    }
    return cuts;
}

bool straddles(const CutPlane& c, const Polygon& piece) {
    bool front = false, back = false;
    for (std::size_t v = 0; v < piece.vertices.size(); ++v) {
        const int s = screened_side(c.plane, c.fp, piece.vertices[v], piece.float_vertices[v]);
        front = front || s > 0;
        back = back || s < 0;
        if (front && back) return true;
    }
    return false;
}

bool strictly_inside(const Facet& f, const Vec3& q, const Float3& fq) {
    const Polygon& p = *f.polygon;
    // Project along an axis where the normal is not zero; with the cyclic
    // choice of the other two axes a counter-clockwise loop turns with the
    // sign of that normal component.
    std::size_t k = 2;
    for (std::size_t a = 0; a < 3; ++a) {
        if (!p.plane.normal[a].is_zero()) {
            k = a;
            break;
        }
    }
    const int want = p.plane.normal[k].sign();
    const int i = static_cast<int>((k + 1) % 3), j = static_cast<int>((k + 2) % 3);
    const std::size_t n = p.vertices.size();
    for (std::size_t v = 0; v < n; ++v) {
        const std::size_t w = (v + 1) % n;
        if (p.vertices[v] == p.vertices[w]) continue;
        const int s = orient2d(p.vertices[v], p.float_vertices[v], p.vertices[w], p.float_vertices[w], q, fq, i, j);
        if (s != want) return false;
    }
    return true;
}

}  // namespace corv::local
