#include "mesh/triangle_contact.h"

#include "local/filtered.h"
#include "mesh/plane_contact.h"

namespace corv {
namespace {

using Sides = std::array<int, 3>;
using Flags = std::array<bool, 3>;

// Sides of the corners of triangle `of` against the plane of t (+1 in
// front, -1 behind) as far as the float screen settles them; 0 for the
// rest and for the corners t shares.
Sides screened_sides(const MeshView& m, std::size_t t, std::size_t of, const Flags& shared) {
    const ScreenedTriangle &own = m.screened[t], &other = m.screened[of];
    Sides s{};
    for (std::size_t k = 0; k < 3; ++k) {
        if (!shared[k]) s[k] = screened_side(own, other.f[k]);
    }
    return s;
}

// The same sides, the open ones decided exactly.
void settle_sides(const MeshView& m, std::size_t t, std::size_t of, const Flags& shared, Sides& s) {
    for (std::size_t k = 0; k < 3; ++k) {
        if (!shared[k] && s[k] == 0) s[k] = m.triangles[t].plane.side(m.points[m.screened[of].corners[k]]);
    }
}

bool all_settled(const Sides& s, const Flags& shared) {
    for (std::size_t k = 0; k < 3; ++k) {
        if (!shared[k] && s[k] == 0) return false;
    }
    return true;
}

// +1 or -1 when every corner not shared lies strictly on that side, else 0.
int one_side(const Sides& s, const Flags& shared) {
    int side = 0;
    for (std::size_t k = 0; k < 3; ++k) {
        if (shared[k]) continue;
        if (s[k] == 0 || (side != 0 && s[k] != side)) return 0;
        side = s[k];
    }
    return side;
}

// The corner whose side differs from the other two (sides not zero, not all equal).
std::size_t lone(const Sides& s) { return s[0] == s[1] ? 2 : (s[0] == s[2] ? 1 : 0); }

// Whether every corner not shared lies on one closed side of the plane,
// some on it and some off it.
bool flush(const Sides& s, const Flags& shared) {
    bool on = false, front = false, back = false;
    for (std::size_t k = 0; k < 3; ++k) {
        if (shared[k]) continue;
        on = on || s[k] == 0;
        front = front || s[k] > 0;
        back = back || s[k] < 0;
    }
    return on && front != back;
}

struct Chord {
    Rational lo, hi;
    bool any = false, strict = false;
};

void widen(Chord& c, const Rational& t) {
    if (!c.any || t < c.lo) c.lo = t;
    if (!c.any || t > c.hi) c.hi = t;
    c.any = true;
}

// Triangle t cut by a plane, as an interval of coordinate `axis` along the
// line where it meets the other plane; strict when t has corners strictly
// on both sides.
Chord chord(const MeshView& m, std::size_t t, const Plane& other, std::size_t axis) {
    const Corners& c = m.screened[t].corners;
    Rational e[3];
    int s[3];
    for (std::size_t k = 0; k < 3; ++k) {
        e[k] = dot(other.normal, m.points[c[k]]) - other.offset;
        s[k] = e[k].sign();
    }
    Chord out;
    bool front = false, back = false;
    for (std::size_t k = 0; k < 3; ++k) {
        const std::size_t l = (k + 1) % 3;
        const Rational& p = m.points[c[k]][axis];
        front = front || s[k] > 0;
        back = back || s[k] < 0;
        if (s[k] == 0) widen(out, p);
        if (s[k] * s[l] < 0) widen(out, p + (m.points[c[l]][axis] - p) * (e[k] / (e[k] - e[l])));
    }
    out.strict = front && back;
    return out;
}

// An edge from -> to of one triangle crossing the other's plane, with the
// side of its end against that plane.
struct Edge {
    std::uint64_t from, to;
    int end_side;
};

// Where the common line D = n_a x n_b of the two planes meets edge x (of a)
// and edge y (of b): sign(D . (X - Y)) = -orient3d(x, y) side(x.to) side(y.to).
// (Writing X - Y = mu D, orient3d(u, v, s, t) = det(v - u, s - u, t - s)
// = -mu det(v - u, D, t - s) = -mu (n_b . (v - u)) (n_a . (t - s)).)
int order(const MeshView& m, const Edge& x, const Edge& y) {
    const auto& p = m.points;
    const auto& f = m.floats;
    const int o = local::orient3d(p[x.from], f[x.from], p[x.to], f[x.to], p[y.from], f[y.from], p[y.to], f[y.to]);
    return -o * x.end_side * y.end_side;
}

// Both triangles strictly across each other's plane, no shared corner: each
// cuts a chord from the common line between its two edges that cross. With
// p the lone corner of (p, q, r), a's chord runs from its edge p -> q to its
// edge r -> p along D when p is behind b's plane, and b's the other way
// round (along n_b x n_a) when p is behind a's.
Contact strict_contact(const MeshView& m, std::size_t a, std::size_t b, const Sides& sa, const Sides& sb) {
    const Corners &ca = m.screened[a].corners, &cb = m.screened[b].corners;
    const std::size_t la = lone(sa), lb = lone(sb);
    const Edge a_in{ca[la], ca[(la + 1) % 3], sa[(la + 1) % 3]}, a_out{ca[(la + 2) % 3], ca[la], sa[la]};
    const Edge b_in{cb[lb], cb[(lb + 1) % 3], sb[(lb + 1) % 3]}, b_out{cb[(lb + 2) % 3], cb[lb], sb[lb]};
    const Edge& lo_a = sa[la] < 0 ? a_in : a_out;
    const Edge& hi_a = sa[la] < 0 ? a_out : a_in;
    const Edge& lo_b = sb[lb] < 0 ? b_out : b_in;
    const Edge& hi_b = sb[lb] < 0 ? b_in : b_out;
    const int low = order(m, lo_a, hi_b);
    if (low > 0) return Contact::apart;
    const int high = order(m, hi_a, lo_b);
    if (high < 0) return Contact::apart;
    return low < 0 && high > 0 ? Contact::cross : Contact::touch;
}

// One shared corner V, the other two of each strictly across the other's
// plane: each chord runs from V, a's along D when its corner after V is in
// front of b's plane, b's against D when its corner after V is in front of
// a's. They overlap, crossing, when they leave V the same way.
Contact corner_contact(const MeshView& m, std::size_t a, std::size_t b, const Sides& sa, const Sides& sb) {
    const Corners &ca = m.screened[a].corners, &cb = m.screened[b].corners;
    std::size_t va = 0, vb = 0;
    for (std::size_t k = 0; k < 3; ++k) {
        for (std::size_t l = 0; l < 3; ++l) {
            if (ca[k] != cb[l]) continue;
            va = k;
            vb = l;
        }
    }
    return sa[(va + 1) % 3] == -sb[(vb + 1) % 3] ? Contact::cross : Contact::adjacent;
}

}  // namespace

Contact chord_contact(const MeshView& m, std::size_t a, std::size_t b, int shared) {
    const Plane &pa = m.triangles[a].plane, &pb = m.triangles[b].plane;
    const Vec3 d = cross(pa.normal, pb.normal);
    std::size_t axis = 0;
    while (axis < 2 && d[axis].is_zero()) ++axis;
    if (d[axis].is_zero()) {
        return pa.side(m.points[m.screened[b].corners[0]]) == 0 ? coplanar_contact(m, a, b, shared) : Contact::apart;
    }
    const Chord x = chord(m, a, pb, axis), y = chord(m, b, pa, axis);
    if (!x.any || !y.any) return Contact::apart;
    const Rational& lo = x.lo < y.lo ? y.lo : x.lo;
    const Rational& hi = x.hi < y.hi ? x.hi : y.hi;
    if (lo > hi) return Contact::apart;
    if (x.strict && y.strict && lo < hi) return Contact::cross;
    if (shared == 2 || (shared == 1 && lo == hi)) return Contact::adjacent;
    return Contact::touch;
}

Contact triangle_contact(const MeshView& m, std::size_t a, std::size_t b) {
    const Corners &ca = m.screened[a].corners, &cb = m.screened[b].corners;
    Flags a_in_b{}, b_in_a{};
    int shared = 0;
    for (std::size_t k = 0; k < 3; ++k) {
        for (std::size_t l = 0; l < 3; ++l) {
            if (ca[k] != cb[l]) continue;
            a_in_b[k] = b_in_a[l] = true;
            ++shared;
        }
    }
    if (shared == 3) return Contact::cross;  // the same triangle twice
    const Contact away = shared > 0 ? Contact::adjacent : Contact::apart;
    Sides sb = screened_sides(m, a, b, b_in_a);
    if (one_side(sb, b_in_a) != 0) return away;
    Sides sa = screened_sides(m, b, a, a_in_b);
    if (one_side(sa, a_in_b) != 0) return away;
    if (!all_settled(sb, b_in_a) || !all_settled(sa, a_in_b)) {
        // Nearly in one plane (a flat or nearly flat stretch of the mesh): most
        // such pairs lie side by side, which their shadows show.
        const std::size_t k = m.screened[a].axis, l = m.screened[b].axis;
        if (shadows_apart(m.screened[a], m.screened[b], k) ||
            (l != k && shadows_apart(m.screened[a], m.screened[b], l))) {
            return away;
        }
        settle_sides(m, a, b, b_in_a, sb);
        if (one_side(sb, b_in_a) != 0) return away;
        if (sb == Sides{0, 0, 0}) return coplanar_contact(m, a, b, shared);
        settle_sides(m, b, a, a_in_b, sa);
        if (one_side(sa, a_in_b) != 0) return away;
    }
    if (shared == 2) return Contact::adjacent;
    if (flush(sb, b_in_a)) return flush_contact(m, a, b, sb, shared);
    if (flush(sa, a_in_b)) return flush_contact(m, b, a, sa, shared);
    for (std::size_t k = 0; k < 3; ++k) {
        if ((!a_in_b[k] && sa[k] == 0) || (!b_in_a[k] && sb[k] == 0)) return chord_contact(m, a, b, shared);
    }
    return shared == 1 ? corner_contact(m, a, b, sa, sb) : strict_contact(m, a, b, sa, sb);
}

}  // namespace corv
