#include "bevel/face_limits.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <map>
#include <set>
#include <string>
#include <utility>

#include "bevel/strips.h"
#include "core/guard.h"
#include "core/panic.h"
#include "edges/edge_measures.h"

namespace corv {
namespace {

using FaceSide = std::pair<std::size_t, int>;  // (edge, side)

// The plane that cuts the face along the edge's part of it: its bevel when
// chosen, else the plane of its other face (which holds the edge).
const Plane& trim_plane(const BevelContext& ctx, std::size_t edge, int side) {
    if (ctx.bevels[edge]) return ctx.bevels[edge]->plane;
    return ctx.edges[edge].faces[static_cast<std::size_t>(1 - side)].plane;
}

// sqrt of a square, as people write it: exact when it is a square, else to six places.
std::string length_text(const Rational& squared) {
    const Integer n = squared.numerator(), d = squared.denominator();
    const Integer rn = isqrt(n), rd = isqrt(d);
    if (rn * rn == n && rd * rd == d) return Rational(rn, rd).plain_text();
    char buf[40];
    std::snprintf(buf, sizeof buf, "about %.6g", std::sqrt(squared.to_double()));
    return buf;
}

[[noreturn]] void vanishing(const BevelContext& ctx, FaceSide at, const Rational& dist) {
    const SolidEdge& e = ctx.edges[at.first];
    throw Panic(PanicKind::invalid_argument,
                "chamfer: dist " + dist.plain_text() + " is too large for edge " + edge_text(e) + " of face '" +
                    e.faces[static_cast<std::size_t>(at.second)].label +
                    "': the bevel lines at its two ends cross before it ends, so its part of the face would vanish; "
                    "use a smaller dist, or leave out edges at its ends");
}

// Whether a (chosen) and b may merge: a convex and a concave chosen edge, parallel.
bool may_merge(const BevelContext& ctx, std::size_t a, std::size_t b) {
    const SolidEdge& ea = ctx.edges[a];
    const SolidEdge& eb = ctx.edges[b];
    return ctx.bevels[b].has_value() && ea.convex != eb.convex &&
           norm1(cross(edge_direction(ea), edge_direction(eb))).is_zero();
}

bool merged(const std::vector<MergedBevels>& pairs, std::size_t a, std::size_t b) {
    for (const MergedBevels& m : pairs) {
        if ((m.convex == a && m.concave == b) || (m.convex == b && m.concave == a)) return true;
    }
    return false;
}

// The edge's part of the face between its neighbours' trim lines has a
// positive length, unless the neighbours' bevels merge over it.
void check_part(const BevelContext& ctx, FaceSide at, const Rational& dist, const std::vector<MergedBevels>& pairs) {
    const SolidEdge& e = ctx.edges[at.first];
    const auto& next = ctx.links.next[at.first];
    const std::size_t s = static_cast<std::size_t>(at.second);
    const std::size_t n0 = next[0][s].edge, n1 = next[1][s].edge;
    if (merged(pairs, n0, n1) || (ctx.bevels[n0] && may_merge(ctx, n0, n1))) return;
    const Plane& face = e.faces[static_cast<std::size_t>(at.second)].plane;
    const Plane& own = trim_plane(ctx, at.first, at.second);
    std::optional<Vec3> ends[2];
    for (int k = 0; k < 2; ++k) {
        const FaceNext& n = ctx.links.next[at.first][static_cast<std::size_t>(k)][static_cast<std::size_t>(at.second)];
        if (n.straight && !ctx.bevels[at.first] && !ctx.bevels[n.edge]) return;  // both sharp: nothing trims it
        // Running on straight, the part ends square across the edge at the vertex.
        const Vec3 along = edge_direction(e);
        const Plane square{along, dot(along, end_point(e, k))};
        ends[k] = meet(own, n.straight ? square : trim_plane(ctx, n.edge, n.side), face);
        if (!ends[k]) vanishing(ctx, at, dist);
    }
    if (dot(sub(*ends[1], *ends[0]), edge_direction(e)).sign() <= 0) vanishing(ctx, at, dist);
}

Rational point_segment(const Vec3& p, const Vec3& a, const Vec3& b) {
    const Vec3 ab = sub(b, a);
    Rational t = dot(sub(p, a), ab) / dot(ab, ab);
    if (t.sign() < 0) t = Rational(0);
    if (t > Rational(1)) t = Rational(1);
    const Vec3 off = sub(p, add(a, smul(t, ab)));
    return dot(off, off);
}

bool share_an_end(const SolidEdge& a, const SolidEdge& b) {
    return a.start == b.start || a.start == b.end || a.end == b.start || a.end == b.end;
}

// Whether the edges' boxes are farther apart than sqrt(limit2), exactly:
// then so are the edges.
bool boxes_apart(const SolidEdge& a, const SolidEdge& b, const Rational& limit2) {
    Rational gap2;
    for (std::size_t i = 0; i < 3; ++i) {
        const auto [alo, ahi] = std::minmax(a.start[i], a.end[i]);
        const auto [blo, bhi] = std::minmax(b.start[i], b.end[i]);
        const Rational gap = alo > bhi ? alo - bhi : (blo > ahi ? blo - ahi : Rational(0));
        gap2 += gap * gap;
    }
    return gap2 > limit2;
}

[[noreturn]] void too_close(const BevelContext& ctx, FaceSide a, std::size_t b, const Rational& dist,
                            bool bevels_meet) {
    const SolidEdge& ea = ctx.edges[a.first];
    const SolidEdge& eb = ctx.edges[b];
    const Rational d2 = squared_distance(ea.start, ea.end, eb.start, eb.end);
    const std::string face = ea.faces[static_cast<std::size_t>(a.second)].label;
    if (d2.is_zero()) {
        throw Panic(PanicKind::invalid_argument, "chamfer: edge " + edge_text(ea) + " of face '" + face +
                                                     "' touches edge " + edge_text(eb) +
                                                     " of the same face (the face is pinched there), so no bevel "
                                                     "fits along it: leave the edge out");
    }
    const std::string apart = length_text(d2);
    std::string text = "chamfer: dist " + dist.plain_text() + " is too large: edge " + edge_text(ea) + " of face '" +
                       face + "' and edge " + edge_text(eb);
    text += bevels_meet ? " are " + apart +
                              " apart, so their bevels would meet and the face would fall apart between "
                              "them; use dist below half that distance, or leave one of them out"
                        : " are " + apart +
                              " apart, so the bevel of the first would cut past the second; use dist "
                              "below that distance, or leave the first out";
    throw Panic(PanicKind::invalid_argument, text);
}

void check_apart(const BevelContext& ctx, FaceSide a, FaceSide b, const Rational& dist,
                 std::vector<MergedBevels>& pairs) {
    const SolidEdge& ea = ctx.edges[a.first];
    const SolidEdge& eb = ctx.edges[b.first];
    const bool both = ctx.bevels[b.first].has_value();
    const Rational reach = both ? dist + dist : dist;
    if (share_an_end(ea, eb) || boxes_apart(ea, eb, reach * reach)) return;
    const Vec3& normal = ea.faces[static_cast<std::size_t>(a.second)].plane.normal;
    const Strip sa = strip_of(ea, *ctx.bevels[a.first], a.second);
    const Vec3 ends_b[2] = {eb.start, eb.end};
    if (closed_sets_meet(normal, sa, ends_b)) too_close(ctx, a, b.first, dist, false);
    if (!both) return;
    const Strip sb = strip_of(eb, *ctx.bevels[b.first], b.second);
    if (may_merge(ctx, a.first, b.first)) {
        if (ea.convex && insides_meet(normal, sa, sb) && !merged(pairs, a.first, b.first)) {
            pairs.push_back(MergedBevels{a.first, b.first});
        }
        return;
    }
    if (closed_sets_meet(normal, sa, sb)) too_close(ctx, a, b.first, dist, true);
}

}  // namespace

Rational squared_distance(const Vec3& a0, const Vec3& a1, const Vec3& b0, const Vec3& b1) {
    return std::min(
        {point_segment(a0, b0, b1), point_segment(a1, b0, b1), point_segment(b0, a0, a1), point_segment(b1, a0, a1)});
}

std::vector<MergedBevels> check_face_limits(const BevelContext& ctx, const Rational& dist) {
    std::vector<MergedBevels> pairs;
    std::set<FaceSide> parts;
    std::map<std::string, std::vector<FaceSide>> faces;
    for (std::size_t i = 0; i < ctx.edges.size(); ++i) {
        for (int s = 0; s < 2; ++s) {
            const Plane& p = ctx.edges[i].faces[static_cast<std::size_t>(s)].plane;
            faces[point_text(p.normal) + "|" + p.offset.text()].emplace_back(i, s);
            if (!ctx.bevels[i]) continue;
            parts.emplace(i, s);
            for (const auto& end : ctx.links.next[i])
                parts.emplace(end[static_cast<std::size_t>(s)].edge, end[static_cast<std::size_t>(s)].side);
        }
    }
    for (const auto& [key, members] : faces) {
        for (const FaceSide& a : members) {
            if (!ctx.bevels[a.first]) continue;
            guard::poll(static_cast<std::int64_t>(members.size()));
            for (const FaceSide& b : members) {
                if (b.first != a.first) check_apart(ctx, a, b, dist, pairs);
            }
        }
    }
    for (const FaceSide& at : parts) {
        guard::poll(16);
        check_part(ctx, at, dist, pairs);
    }
    return pairs;
}

}  // namespace corv
