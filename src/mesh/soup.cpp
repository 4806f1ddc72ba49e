#include "mesh/soup.h"

#include <bit>
#include <unordered_map>

#include "core/panic.h"

namespace corv::mesh {
namespace {

// Equal exact values have equal correctly rounded doubles, so the doubles
// hash the points; equality is then decided on the exact values.
struct PointHash {
    const Soup* soup;
    std::size_t operator()(std::uint32_t i) const {
        const Float3& f = soup->fpoints[i];
        std::uint64_t h = 0x9e3779b97f4a7c15ull;
        for (double d : f) {
            h ^= std::bit_cast<std::uint64_t>(d + 0.0);  // +0.0 folds -0.0 into 0.0
            h *= 0xbf58476d1ce4e5b9ull;
            h ^= h >> 31;
        }
        return static_cast<std::size_t>(h);
    }
};

struct PointEq {
    const Soup* soup;
    bool operator()(std::uint32_t a, std::uint32_t b) const {
        return soup->fpoints[a] == soup->fpoints[b] && soup->points[a] == soup->points[b];
    }
};

}  // namespace

Soup soup_of(const Solid& solid) {
    Soup soup;
    std::unordered_map<std::uint32_t, std::uint32_t, PointHash, PointEq> index(
        1024, PointHash{&soup}, PointEq{&soup});
    std::unordered_map<std::string, std::uint32_t> label_index;
    soup.polygons.reserve(solid.polygons.size());
    for (const Polygon& p : solid.polygons) {
        SoupPolygon out{{}, p.plane, 0};
        out.loop.reserve(p.vertices.size());
        for (std::size_t i = 0; i < p.vertices.size(); ++i) {
            // The candidate is appended first so the hash can read it, and
            // dropped again when an equal point is already there.
            soup.points.push_back(p.vertices[i]);
            soup.fpoints.push_back(i < p.float_vertices.size() ? p.float_vertices[i] : to_f3(p.vertices[i]));
            const auto fresh = static_cast<std::uint32_t>(soup.points.size() - 1);
            auto [it, inserted] = index.emplace(fresh, fresh);
            if (!inserted) {
                soup.points.pop_back();
                soup.fpoints.pop_back();
            }
            std::uint32_t id = it->second;
            if (out.loop.empty() || out.loop.back() != id) out.loop.push_back(id);
        }
        while (out.loop.size() > 1 && out.loop.front() == out.loop.back()) out.loop.pop_back();
        if (out.loop.size() < 3) continue;
        auto [lit, fresh_label] = label_index.emplace(p.label, static_cast<std::uint32_t>(soup.labels.size()));
        if (fresh_label) soup.labels.push_back(p.label);
        out.label = lit->second;
        soup.polygons.push_back(std::move(out));
    }
    if (soup.points.size() >= (std::size_t(1) << 31)) throw Panic("mesh: too many points");
    return soup;
}

}  // namespace corv::mesh
