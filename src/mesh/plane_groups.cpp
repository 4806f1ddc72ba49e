#include "mesh/plane_groups.h"

#include <bit>
#include <map>
#include <unordered_map>

#include "topology/canonical.h"

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

struct Placement {
    std::uint32_t group;
    bool front;  // the stored normal points along the canonical one
};

}  // namespace

std::vector<PlaneGroup> plane_groups(const Soup& soup) {
    std::vector<PlaneGroup> groups;
    std::map<PlaneKey, std::uint32_t> by_key;
    std::unordered_map<const Plane*, Placement, PlaneHash, PlaneEq> by_plane;
    for (std::size_t i = 0; i < soup.polygons.size(); ++i) {
        const SoupPolygon& polygon = soup.polygons[i];
        auto it = by_plane.find(&polygon.plane);
        if (it == by_plane.end()) {
            if (polygon.plane.normal == Vec3{}) continue;
            PlaneKey key = coplanar_key(polygon.plane);
            auto [kit, fresh] = by_key.emplace(key, static_cast<std::uint32_t>(groups.size()));
            if (fresh) {
                Vec3 normal{Rational::from_integer(key[0]), Rational::from_integer(key[1]),
                            Rational::from_integer(key[2])};
                groups.push_back(PlaneGroup{frame_for(normal), {}});
            }
            // The stored normal is a positive or negative multiple of the key's.
            std::size_t axis = key[0].is_zero() ? (key[1].is_zero() ? 2 : 1) : 0;
            bool front = polygon.plane.normal[axis].sign() == key[axis].sign();
            it = by_plane.emplace(&polygon.plane, Placement{kit->second, front}).first;
        }
        PlaneGroup& g = groups[it->second.group];
        g.polygons.push_back(static_cast<std::uint32_t>(i));
        std::uint32_t& label = it->second.front ? g.front_label : g.back_label;
        if (label == UINT32_MAX) label = polygon.label;
    }
    return groups;
}

}  // namespace corv::mesh
