#include "chamfer/logical_edges.h"

#include <algorithm>
#include <map>
#include <optional>
#include <string>

#include "canonical/canonical.h"
#include "canonical/line_position.h"

namespace corv {
namespace {

// Everything seen on one infinite line.
struct LineEntry {
    std::vector<PlaneKey> canonical_planes;  // distinct, in order of first appearance
    std::vector<Plane> planes;               // in step: the first plane with each form
    Rational t_min;
    Rational t_max;
    Vec3 point;
    Vec3 dir;
};

void add_plane(LineEntry& entry, const PlaneKey& key, const Plane& plane) {
    if (std::ranges::find(entry.canonical_planes, key) != entry.canonical_planes.end()) return;
    entry.canonical_planes.push_back(key);
    entry.planes.push_back(plane);
}

}  // namespace

Vec3 point_at(const Edge& edge, const Rational& t) {
    const Rational step = (t - dot(edge.point, edge.dir)) / dot(edge.dir, edge.dir);
    return add(edge.point, smul(step, edge.dir));
}

std::vector<Edge> logical_edges(const Solid& solid) {
    std::map<std::string, LineEntry> table;
    for (const Polygon& poly : solid.polygons) {
        std::optional<PlaneKey> plane_key;  // computed at the polygon's first real side
        const std::size_t n = poly.vertices().size();
        for (std::size_t i = 0; i < n; ++i) {
            const Vec3& a = poly.vertices()[i];
            std::optional<LineSide> side = line_side(a, poly.vertices()[(i + 1) % n]);
            if (!side) continue;
            const bool a_first = side->ta < side->tb;
            Rational& lo = a_first ? side->ta : side->tb;
            Rational& hi = a_first ? side->tb : side->ta;

            auto [it, inserted] = table.try_emplace(std::move(side->key));
            LineEntry& entry = it->second;
            if (inserted) {
                entry.t_min = lo;
                entry.t_max = hi;
                entry.point = a;
                entry.dir = std::move(side->dir);
            }
            if (!plane_key) plane_key = canonical_plane(poly.plane);
            add_plane(entry, *plane_key, poly.plane);
            if (lo < entry.t_min) entry.t_min = std::move(lo);
            if (hi > entry.t_max) entry.t_max = std::move(hi);
        }
    }

    std::vector<Edge> edges;
    for (auto& [line, entry] : table) {
        if (entry.planes.size() != 2) continue;
        edges.push_back(Edge{std::move(entry.point), std::move(entry.dir), std::move(entry.t_min),
                             std::move(entry.t_max), std::move(entry.planes[0]), std::move(entry.planes[1])});
    }
    return edges;
}

}  // namespace corv
