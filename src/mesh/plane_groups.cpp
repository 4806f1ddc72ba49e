#include "mesh/plane_groups.h"

#include <bit>
#include <map>
#include <unordered_map>

#include "canonical/canonical.h"

namespace corv::mesh {
namespace {

// Pieces of one face usually carry their parent's plane unchanged, so the
// canonical form is computed once per distinct stored plane.
struct PlaneHash {
    std::size_t operator()(const Plane* p) const {
        std::uint64_t h = 0x2545f4914f6cdd1dull;
        for (const Rational* q : {&p->normal.x, &p->normal.y, &p->normal.z, &p->offset}) {
            h ^= std::bit_cast<std::uint64_t>(q->to_double() + 0.0);
            h *= 0x9e3779b97f4a7c15ull;
            h ^= h >> 29;
        }
        return static_cast<std::size_t>(h);
    }
};

struct PlaneEq {
    bool operator()(const Plane* a, const Plane* b) const { return *a == *b; }
};

// Twice the vector area of the loop (Newell's sum): its normal, facing the
// way the loop turns counter-clockwise; zero when the loop has no area.
Vec3 loop_normal(const Soup& soup, const SoupPolygon& polygon) {
    Vec3 sum;
    const Vec3& o = soup.points[soup.loops[polygon.begin]];
    for (std::uint32_t i = polygon.begin + 1; i + 1 < polygon.end; ++i) {
        sum = add(sum, cross(sub(soup.points[soup.loops[i]], o), sub(soup.points[soup.loops[i + 1]], o)));
    }
    return sum;
}

// The polygon's plane: the stored one, or where that is zero (its first
// three points in a line) the plane of its loop.
Plane plane_of(const Soup& soup, const SoupPolygon& polygon) {
    if (!(polygon.plane.normal == Vec3{})) return polygon.plane;
    Vec3 n = loop_normal(soup, polygon);
    Rational offset = dot(n, soup.points[soup.loops[polygon.begin]]);
    return {std::move(n), std::move(offset)};
}

}  // namespace

std::vector<PlaneGroup> plane_groups(const Soup& soup) {
    std::vector<PlaneGroup> groups;
    std::map<PlaneKey, std::uint32_t> by_key;
    std::unordered_map<const Plane*, std::uint32_t, PlaneHash, PlaneEq> by_plane;
    for (std::size_t i = 0; i < soup.polygons.size(); ++i) {
        const SoupPolygon& polygon = soup.polygons[i];
        auto it = by_plane.find(&polygon.plane);
        std::uint32_t group = 0;
        if (it != by_plane.end()) {
            group = it->second;
        } else {
            const Plane plane = plane_of(soup, polygon);
            if (plane.normal == Vec3{}) continue;  // no area: its sides cancel among themselves
            auto [kit, fresh] = by_key.emplace(coplanar_key(plane), static_cast<std::uint32_t>(groups.size()));
            if (fresh) {
                const PlaneKey& key = kit->first;
                Vec3 normal{Rational::from_integer(key[0]), Rational::from_integer(key[1]),
                            Rational::from_integer(key[2])};
                const Frame frame = frame_for(normal);
                groups.push_back(PlaneGroup{std::move(normal), frame, {}});
            }
            group = kit->second;
            // A zero stored plane is no key: each such polygon is placed anew.
            if (!(polygon.plane.normal == Vec3{})) by_plane.emplace(&polygon.plane, group);
        }
        groups[group].polygons.push_back(static_cast<std::uint32_t>(i));
    }
    return groups;
}

std::uint32_t first_label_facing(const Soup& soup, const PlaneGroup& group, bool back) {
    for (std::uint32_t p : group.polygons) {
        const int facing = dot(loop_normal(soup, soup.polygons[p]), group.normal).sign();
        if (facing == (back ? -1 : 1)) return soup.polygons[p].label;
    }
    return UINT32_MAX;
}

}  // namespace corv::mesh
