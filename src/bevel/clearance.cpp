#include "bevel/clearance.h"

#include <algorithm>
#include <cmath>
#include <span>

#include "core/guard.h"
#include "core/split.h"
#include "edges/solid_edges.h"

namespace corv {
namespace {

struct Box {
    Float3 lo, hi;
};

Box box_of(const std::vector<Polygon>& polygons) {
    Box b{polygons.front().float_low(), polygons.front().float_high()};
    for (const Polygon& p : polygons) {
        widen(b.lo, b.hi, p.float_low());
        widen(b.lo, b.hi, p.float_high());
    }
    return b;
}

// Whether the boxes may meet. Each float bound is a vertex's coordinate
// rounded to nearest (within a relative 2^-53 of the exact one), so a slack
// of 1e-9 of the magnitudes keeps in every pair of boxes whose exact boxes
// meet; the exact test (inside_part) decides the rest.
bool boxes_meet(const Box& a, const Float3& lo, const Float3& hi) {
    for (std::size_t i = 0; i < 3; ++i) {
        const double slack = 1e-9 * (std::abs(a.lo[i]) + std::abs(a.hi[i]) + std::abs(lo[i]) + std::abs(hi[i]) + 1);
        if (hi[i] < a.lo[i] - slack || lo[i] > a.hi[i] + slack) return false;
    }
    return true;
}

// The part of the polygon strictly inside every half-space, if any.
std::optional<Polygon> inside_part(Polygon polygon, std::span<const HalfSpace> cuts) {
    for (const HalfSpace& h : cuts) {
        Split s = split(h.plane, float_plane(h.plane), std::move(polygon));
        if (s.back.empty()) return std::nullopt;
        polygon = std::move(s.back.front());
    }
    return polygon;
}

Vec3 centre_of(const Polygon& p) {
    Vec3 sum{0, 0, 0};
    for (const Vec3& v : p.vertices()) sum = add(sum, v);
    return smul(Rational(1) / Rational(static_cast<std::int64_t>(p.vertices().size())), sum);
}

}  // namespace

Clearance clearance_of(const Solid& solid) {
    Clearance c{solid, {}};
    c.planes.reserve(solid.polygons.size());
    for (const Polygon& p : solid.polygons) c.planes.push_back(integer_plane_of(p.plane));
    return c;
}

std::optional<std::string> reached_face(const Clearance& clearance, const Piece& piece) {
    if (piece.solid.polygons.empty()) return std::nullopt;
    const Box box = box_of(piece.solid.polygons);
    const std::vector<Polygon>& polygons = clearance.solid.polygons;
    for (std::size_t i = 0; i < polygons.size(); ++i) {
        const Polygon& p = polygons[i];
        guard::poll();
        if (!boxes_meet(box, p.float_low(), p.float_high())) continue;
        const std::vector<Plane>& own = piece.own_faces;
        if (std::find(own.begin(), own.end(), clearance.planes[i]) != own.end()) continue;
        guard::poll(static_cast<std::int64_t>(4 * piece.cuts.size()));
        if (std::optional<Polygon> part = inside_part(p, piece.cuts)) {
            return "face '" + p.label + "' near " + plain_point_text(centre_of(*part));
        }
    }
    return std::nullopt;
}

}  // namespace corv
