#include "local/coplanar_ring.h"

#include <algorithm>
#include <cmath>
#include <deque>

#include "core/guard.h"
#include "local/filtered.h"

namespace corv::local {
namespace {

struct Corner {
    const Vec3* point;
    const Float3* fp;
};

// Turns seen from the outer facet's front: the shadow on the coordinate
// plane across the axis where its normal is largest, signed by that
// normal's part (+1: counter-clockwise around the normal).
struct View {
    std::size_t k = 2;
    int i = 0, j = 1, sign = 1;

    int turn(const Corner& p, const Corner& q, const Corner& r) const {
        return sign * orient2d(*p.point, *p.fp, *q.point, *q.fp, *r.point, *r.fp, i, j);
    }
};

std::optional<View> view_of(const Polygon& p) {
    View view;
    double most = -1;
    for (std::size_t a = 0; a < 3; ++a) {
        const double m = std::fabs(p.plane.normal[a].to_double());
        if (!p.plane.normal[a].is_zero() && m > most) {
            most = m;
            view.k = a;
        }
    }
    if (most < 0) return std::nullopt;
    view.i = static_cast<int>((view.k + 1) % 3);
    view.j = static_cast<int>((view.k + 2) % 3);
    view.sign = p.plane.normal[view.k].sign();
    return view;
}

std::vector<Corner> corners_of(const Polygon& p) {
    std::vector<Corner> out;
    for (std::size_t k = 0; k < p.vertices().size(); ++k) out.push_back({&p.vertices()[k], &p.float_vertices()[k]});
    return out;
}

// Whether the segment p-q is shorter than r-s, in doubles: it only shapes
// the pieces (short bridges, no long slivers), every step being checked
// exactly.
bool shorter(const Float3& p, const Float3& q, const Float3& r, const Float3& s) {
    double pq = 0, rs = 0;
    for (std::size_t k = 0; k < 3; ++k) {
        pq += (p[k] - q[k]) * (p[k] - q[k]);
        rs += (r[k] - s[k]) * (r[k] - s[k]);
    }
    return pq <= rs;
}

Polygon piece_of(const std::deque<Corner>& loop, const Polygon& outer) {
    std::vector<Vec3> points;
    std::vector<Float3> floats;
    for (const Corner& c : loop) {
        points.push_back(*c.point);
        floats.push_back(*c.fp);
    }
    return Polygon::assemble(std::move(points), std::move(floats), outer.plane, outer.label, true);
}

}  // namespace

std::optional<RingPieces> ring_pieces(const Polygon& outer, const Polygon& inner) {
    const std::optional<View> seen = view_of(outer);
    if (!seen) return std::nullopt;
    const View& view = *seen;
    const std::size_t k = view.k;
    if (inner.plane.normal[k].is_zero()) return std::nullopt;
    const std::vector<Corner> a = corners_of(outer);
    std::vector<Corner> b = corners_of(inner);
    if (inner.plane.normal[k].sign() != view.sign) std::reverse(b.begin(), b.end());
    const std::size_t m = a.size(), n = b.size();
    if (m < 3 || n < 3) return std::nullopt;
    guard::poll(static_cast<std::int64_t>(m * n / 8 + 1));
    for (const Corner& q : b) {
        for (std::size_t l = 0; l < m; ++l) {
            if (view.turn(a[l], a[(l + 1) % m], q) <= 0) return std::nullopt;
        }
    }
    // A point of the ring sees the inner edge from p to q when it lies
    // strictly outside that edge's line.
    auto sees = [&](const Corner& from, std::size_t edge) { return view.turn(b[edge], b[(edge + 1) % n], from) < 0; };
    // Start at the outer corner nearest b[0] that sees the inner edge into it.
    std::size_t start = m;
    for (std::size_t l = 0; l < m; ++l) {
        if (sees(a[l], n - 1) && (start == m || shorter(*a[l].fp, *b[0].fp, *a[start].fp, *b[0].fp))) start = l;
    }
    if (start == m) return std::nullopt;
    // Walk round from the bridge a[start] - b[0], each step a triangle with
    // the next outer corner (always counter-clockwise: b is inside) or the
    // next inner one (when the outer corner sees that edge), whichever
    // makes the shorter bridge. All turning counter-clockwise, the
    // triangles cover the ring once. A piece runs from its bridge's inner
    // end round to its outer end.
    RingPieces out{piece_of(std::deque<Corner>(b.begin(), b.end()), outer), {}};
    std::deque<Corner> piece;
    // Puts the step's new corner at the piece's front (an inner step) or
    // back (an outer one), kept while the piece stays strictly convex at it
    // and its two neighbours; else the piece is done and the step's
    // triangle starts the next.
    auto step = [&](bool at_front, const Corner& corner, std::deque<Corner> triangle) {
        if (piece.size() >= 3) {
            at_front ? piece.push_front(corner) : piece.push_back(corner);
            const std::size_t s = piece.size(), at = at_front ? 0 : s - 1;
            auto convex_at = [&](std::size_t c) {
                return view.turn(piece[(c + s - 1) % s], piece[c % s], piece[(c + 1) % s]) > 0;
            };
            if (convex_at(at + s - 1) && convex_at(at) && convex_at(at + 1)) return;
            at_front ? piece.pop_front() : piece.pop_back();
        }
        if (!piece.empty()) out.ring.push_back(piece_of(piece, outer));
        piece = std::move(triangle);
    };
    std::size_t i = start, j = 0, outer_steps = 0, inner_steps = 0;
    while (outer_steps < m || inner_steps < n) {
        const Corner &ai = a[i % m], &bj = b[j % n];
        if (inner_steps < n && sees(ai, j % n) &&
            (outer_steps == m || shorter(*b[(j + 1) % n].fp, *ai.fp, *a[(i + 1) % m].fp, *bj.fp))) {
            const Corner& next = b[(j + 1) % n];
            step(true, next, {next, bj, ai});
            ++j;
            ++inner_steps;
        } else if (outer_steps < m) {
            const Corner& next = a[(i + 1) % m];
            step(false, next, {bj, ai, next});
            ++i;
            ++outer_steps;
        } else {
            return std::nullopt;  // an inner edge no outer corner was left to see
        }
    }
    out.ring.push_back(piece_of(piece, outer));
    return out;
}

bool same_loop(const Polygon& a, const Polygon& b) {
    const std::vector<Vec3>&u = a.vertices(), &v = b.vertices();
    const std::size_t n = u.size();
    if (v.size() != n || n == 0) return false;
    const std::size_t at = static_cast<std::size_t>(std::find(v.begin(), v.end(), u[0]) - v.begin());
    if (at == n) return false;
    bool forward = true, backward = true;
    for (std::size_t k = 1; k < n && (forward || backward); ++k) {
        forward = forward && u[k] == v[(at + k) % n];
        backward = backward && u[k] == v[(at + n - k) % n];
    }
    return forward || backward;
}

bool clear_of(const Polygon& polygon, const std::vector<PlaneSpot>& spots) {
    const std::optional<View> view = view_of(polygon);
    if (!view) return false;
    const std::vector<Corner> a = corners_of(polygon);
    // For an edge p-q through the plane at X, with p on side s:
    // turn(a, b, X) = -s orient3d(a, b, p, q) (the tetrahedron's volume is
    // the triangle (a, b, X) times the part of p - q along the normal).
    auto turn = [&](const Corner& u, const Corner& w, const PlaneSpot& x) {
        if (x.q == nullptr) return view->turn(u, w, Corner{x.p, x.fp});
        return -x.side * orient3d(*u.point, *u.fp, *w.point, *w.fp, *x.p, *x.fp, *x.q, *x.fq);
    };
    for (std::size_t e = 0; e < a.size(); ++e) {
        bool all = true;
        for (std::size_t k = 0; k < spots.size() && all; ++k) all = turn(a[e], a[(e + 1) % a.size()], spots[k]) <= 0;
        if (all) return true;
    }
    return false;
}

bool on_one_edge(const Polygon& polygon, const std::vector<Vec3>& points) {
    const std::vector<Vec3>& v = polygon.vertices();
    const std::size_t n = v.size();
    // Mostly the points are corners: one, or the two ends of an edge.
    if (points.size() <= 2) {
        std::size_t at[2] = {n, n};
        for (std::size_t k = 0; k < points.size(); ++k) {
            at[k] = static_cast<std::size_t>(std::find(v.begin(), v.end(), points[k]) - v.begin());
        }
        if (points.size() == 1 && at[0] < n) return true;
        if (points.size() == 2 && at[0] < n && at[1] < n && ((at[0] + 1) % n == at[1] || (at[1] + 1) % n == at[0])) {
            return true;
        }
    }
    for (std::size_t e = 0; e < n; ++e) {
        const Vec3 &p = v[e], &q = v[(e + 1) % n];
        const Vec3 d = sub(q, p);
        bool all = true;
        for (const Vec3& x : points) {
            all = all && cross(d, sub(x, p)) == Vec3{} && dot(sub(x, p), sub(q, x)).sign() >= 0;
        }
        if (all) return true;
    }
    return false;
}

}  // namespace corv::local
