#include "mesh/tjunctions.h"

#include <algorithm>

namespace corv::mesh {
namespace {

// p lies strictly between a and b: on their line and in neither end's half
// space beyond the other. Exact.
bool strictly_inside(const Vec3& a, const Vec3& b, const Vec3& p) {
    Vec3 d = sub(b, a), e = sub(p, a);
    if (!(cross(d, e) == Vec3{})) return false;
    Rational t = dot(d, e);
    return t.sign() > 0 && t < dot(d, d);
}

}  // namespace

PointIndex point_index(const std::vector<Vec3>& points, const std::vector<Float3>& fpoints,
                       std::vector<std::uint32_t> ids) {
    std::sort(ids.begin(), ids.end(), [&](std::uint32_t a, std::uint32_t b) { return fpoints[a][0] < fpoints[b][0]; });
    return {&points, &fpoints, std::move(ids)};
}

std::vector<std::uint32_t> points_inside(const PointIndex& index, std::uint32_t a, std::uint32_t b) {
    const std::vector<Float3>& f = *index.fpoints;
    const std::vector<Vec3>& p = *index.points;
    // Rounding is monotone, so a point inside the exact box of a and b has
    // its doubles inside the box of their doubles.
    Float3 lo, hi;
    for (std::size_t k = 0; k < 3; ++k) {
        lo[k] = std::min(f[a][k], f[b][k]);
        hi[k] = std::max(f[a][k], f[b][k]);
    }
    auto first = std::lower_bound(index.by_x.begin(), index.by_x.end(), lo[0],
                                  [&](std::uint32_t i, double x) { return f[i][0] < x; });
    std::vector<std::uint32_t> found;
    for (auto it = first; it != index.by_x.end() && f[*it][0] <= hi[0]; ++it) {
        const std::uint32_t c = *it;
        if (c == a || c == b) continue;
        if (f[c][1] < lo[1] || f[c][1] > hi[1] || f[c][2] < lo[2] || f[c][2] > hi[2]) continue;
        if (strictly_inside(p[a], p[b], p[c])) found.push_back(c);
    }
    if (found.size() > 1) {
        const Vec3 d = sub(p[b], p[a]);
        std::vector<std::pair<Rational, std::uint32_t>> along;
        for (std::uint32_t c : found) along.push_back({dot(d, sub(p[c], p[a])), c});
        std::sort(along.begin(), along.end());
        for (std::size_t i = 0; i < along.size(); ++i) found[i] = along[i].second;
    }
    return found;
}

}  // namespace corv::mesh
