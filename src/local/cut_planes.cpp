#include "local/cut_planes.h"

#include "core/integer_plane.h"
#include "local/filtered.h"

namespace corv::local {
namespace {

// Bit 1: a vertex in front, bit 2: a vertex behind, bit 4: a vertex on it.
unsigned sides_of(const Facet& plane_of, const Polygon& p) {
    unsigned bits = 0;
    for (std::size_t v = 0; v < p.vertices().size(); ++v) {
        const int s = facet_side(plane_of, p.vertices()[v], p.float_vertices()[v]);
        bits |= s > 0 ? 1u : (s < 0 ? 2u : 4u);
    }
    return bits;
}

// Sets the crossing edges of loop against the plane of facet p, unless a
// vertex lies in that plane.
void crossing_edges(const Facet& p, const Polygon& loop, CutPlane& c) {
    const std::size_t n = loop.vertices().size();
    std::vector<int> s(n);
    for (std::size_t v = 0; v < n; ++v) {
        s[v] = facet_side(p, loop.vertices()[v], loop.float_vertices()[v]);
        if (s[v] == 0) return;
    }
    for (std::size_t v = 0; v < n; ++v) {
        const int t = s[(v + 1) % n];
        if (s[v] > 0 && t < 0) c.exit_from = static_cast<std::int32_t>(v);
        if (s[v] < 0 && t > 0) c.entry_from = static_cast<std::int32_t>(v);
    }
}

int edge_orient(const Polygon& a, std::size_t i, const Polygon& b, std::size_t k) {
    const std::size_t j = (i + 1) % a.vertices().size(), l = (k + 1) % b.vertices().size();
    return orient3d(a.vertices()[i], a.float_vertices()[i], a.vertices()[j], a.float_vertices()[j], b.vertices()[k],
                    b.float_vertices()[k], b.vertices()[l], b.float_vertices()[l]);
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

CellCuts cell_cuts(const FacetSoup& soup, const Facet& p, const std::vector<std::uint32_t>& candidates) {
    CellCuts cuts;
    for (const std::uint32_t id : candidates) {
        const Facet& q = soup.facets[id];
        const Relation r = relation(p, q);
        if (r == Relation::apart) continue;
        const Polygon& qp = *q.polygon;
        if (r == Relation::across) {
            // Points made on the cut are as short as the plane's numbers: the
            // plane in its smallest integers (same side, same float screen).
            CutPlane c{primitive_plane(qp.plane), float_plane(qp.plane), &qp};
            crossing_edges(p, qp, c);
            cuts.planes.push_back(std::move(c));
            continue;
        }
        cuts.coplanar.push_back(id);
        const std::size_t n = qp.vertices().size();
        for (std::size_t v = 0; v < n; ++v) {
            const Vec3& a = qp.vertices()[v];
            const Vec3& b = qp.vertices()[(v + 1) % n];
            Vec3 m = cross(qp.plane.normal, sub(b, a));
            if (m.x.is_zero() && m.y.is_zero() && m.z.is_zero()) continue;
            Rational w = dot(m, a);
            Plane edge = primitive_plane(Plane{std::move(m), std::move(w)});
            FloatPlane fp = float_plane(edge);
            cuts.planes.push_back({std::move(edge), fp});
        }
    }
    return cuts;
}

bool must_cut(const CutPlane& c, const Polygon& piece) {
    const std::size_t n = piece.vertices().size();
    bool front = false, back = false, touch = false;
    std::int32_t exit_from = -1, entry_from = -1;
    int first = 0, prev = 0;
    for (std::size_t v = 0; v < n; ++v) {
        const int s = screened_side(c.plane, c.fp, piece.vertices()[v], piece.float_vertices()[v]);
        front = front || s > 0;
        back = back || s < 0;
        touch = touch || s == 0;
        if (v == 0) first = s;
        if (v > 0 && prev > 0 && s < 0) exit_from = static_cast<std::int32_t>(v - 1);
        if (v > 0 && prev < 0 && s > 0) entry_from = static_cast<std::int32_t>(v - 1);
        prev = s;
    }
    if (prev > 0 && first < 0) exit_from = static_cast<std::int32_t>(n - 1);
    if (prev < 0 && first > 0) entry_from = static_cast<std::int32_t>(n - 1);
    if (!front || !back) return false;
    if (!c.other || c.exit_from < 0 || c.entry_from < 0 || touch || exit_from < 0 || entry_from < 0) return true;
    const auto pe = static_cast<std::size_t>(exit_from), pn = static_cast<std::size_t>(entry_from);
    const auto oe = static_cast<std::size_t>(c.exit_from), on = static_cast<std::size_t>(c.entry_from);
    return edge_orient(piece, pe, *c.other, oe) <= 0 && edge_orient(piece, pn, *c.other, on) >= 0;
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
    const std::size_t n = p.vertices().size();
    for (std::size_t v = 0; v < n; ++v) {
        const std::size_t w = (v + 1) % n;
        if (p.vertices()[v] == p.vertices()[w]) continue;
        const int s =
            orient2d(p.vertices()[v], p.float_vertices()[v], p.vertices()[w], p.float_vertices()[w], q, fq, i, j);
        if (s != want) return false;
    }
    return true;
}

}  // namespace corv::local
