#include "mesh/soup.h"

#include <bit>
#include <unordered_map>

#include "core/panic.h"

namespace corv::mesh {
namespace {

// Equal exact values have equal correctly rounded doubles, so the doubles
// hash the points; equality is then decided on the exact values.
std::uint64_t hash_of(const Float3& f) {
    std::uint64_t h = 0x9e3779b97f4a7c15ull;
    for (double d : f) {
        h ^= std::bit_cast<std::uint64_t>(d + 0.0);  // +0.0 folds -0.0 into 0.0
        h *= 0xbf58476d1ce4e5b9ull;
        h ^= h >> 31;
    }
    return h;
}

// Open addressing with linear probing over point indices; sized for every
// vertex of the solid to be distinct, so it never fills up.
struct PointTable {
    std::vector<std::uint32_t> slots;
    std::uint64_t mask;

    explicit PointTable(std::size_t capacity) {
        std::size_t n = 16;
        while (n < 2 * capacity) n *= 2;
        slots.assign(n, UINT32_MAX);
        mask = n - 1;
    }

    std::uint32_t find_or_add(Soup& soup, const Vec3& p, const Float3& f) {
        for (std::uint64_t i = hash_of(f) & mask;; i = (i + 1) & mask) {
            std::uint32_t& slot = slots[i];
            if (slot == UINT32_MAX) {
                slot = static_cast<std::uint32_t>(soup.points.size());
                soup.points.push_back(p);
                soup.fpoints.push_back(f);
                return slot;
            }
            if (soup.fpoints[slot] == f && soup.points[slot] == p) return slot;
        }
    }
};

}  // namespace

Soup soup_of(const Solid& solid) {
    Soup soup;
    std::size_t corners = 0;
    for (const Polygon& p : solid.polygons) corners += p.vertices().size();
    if (corners >= (std::size_t(1) << 31)) throw Panic(PanicKind::invalid_argument, "mesh: too many points");
    PointTable table(corners);
    soup.loops.reserve(corners);
    soup.polygons.reserve(solid.polygons.size());
    std::unordered_map<std::string, std::uint32_t> label_index;
    const std::string* last_label = nullptr;
    std::uint32_t last_index = 0;
    for (const Polygon& p : solid.polygons) {
        const auto begin = static_cast<std::uint32_t>(soup.loops.size());
        for (std::size_t i = 0; i < p.vertices().size(); ++i) {
            std::uint32_t id = table.find_or_add(soup, p.vertices()[i], p.float_vertices()[i]);
            if (soup.loops.size() == begin || soup.loops.back() != id) soup.loops.push_back(id);
        }
        while (soup.loops.size() > begin + 1 && soup.loops[begin] == soup.loops.back()) soup.loops.pop_back();
        if (soup.loops.size() < begin + 3) {
            soup.loops.resize(begin);
            continue;
        }
        // Neighbouring polygons mostly share their label.
        if (last_label == nullptr || *last_label != p.label) {
            auto [it, fresh] = label_index.emplace(p.label, static_cast<std::uint32_t>(soup.labels.size()));
            if (fresh) soup.labels.push_back(p.label);
            last_label = &p.label;
            last_index = it->second;
        }
        soup.polygons.push_back({begin, static_cast<std::uint32_t>(soup.loops.size()), p.plane, last_index});
    }
    return soup;
}

}  // namespace corv::mesh
