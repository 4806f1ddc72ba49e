#include "core/measures.h"

#include <algorithm>
#include <set>

#include "core/panic.h"

namespace corv {

Rational volume6(const std::vector<Polygon>& polygons) {
    Rational sum;
    for (const Polygon& p : polygons) {
        const auto& v = p.vertices();
        for (std::size_t i = 1; i + 1 < v.size(); ++i) sum += dot(v[0], cross(v[i], v[i + 1]));
    }
    return sum;
}

std::pair<Vec3, Vec3> bbox(const std::vector<Polygon>& polygons) {
    if (polygons.empty() || polygons[0].vertices().empty()) {
        throw Panic(PanicKind::empty_solid, "bounding box of a solid without polygons");
    }
    Vec3 lo = polygons[0].vertices()[0];
    Vec3 hi = lo;
    for (const Polygon& p : polygons) {
        for (const Vec3& v : p.vertices()) {
            for (std::size_t k = 0; k < 3; ++k) {
                if (v[k] < lo[k]) lo[k] = v[k];
                if (v[k] > hi[k]) hi[k] = v[k];
            }
        }
    }
    return {std::move(lo), std::move(hi)};
}

std::string canonical(const std::vector<Polygon>& polygons) {
    std::set<std::string> keys;
    std::vector<std::string> points;
    for (const Polygon& p : polygons) {
        points.clear();
        for (const Vec3& v : p.vertices()) points.push_back(point_text(v));
        std::stable_sort(points.begin(), points.end());
        std::string key;
        for (std::size_t i = 0; i < points.size(); ++i) {
            if (i) key += '|';
            key += points[i];
        }
        keys.insert(std::move(key));
    }
    std::string out;
    bool first = true;
    for (const std::string& k : keys) {
        if (!first) out += ';';
        out += k;
        first = false;
    }
    return out;
}

}  // namespace corv
