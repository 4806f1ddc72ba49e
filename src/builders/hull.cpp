#include "builders/hull.h"

#include <algorithm>
#include <array>
#include <map>
#include <utility>

#include "core/guard.h"
#include "core/panic.h"
#include "local/filtered.h"

namespace corv {
namespace {

using Face = std::array<std::size_t, 3>;  // counter-clockwise seen from outside

// The sign of the volume of (a, b, c, d): positive when d lies on the side
// of the plane through a, b, c that its counter-clockwise normal points to.
int orient(const Vec3& a, const Vec3& b, const Vec3& c, const Vec3& d) {
    return dot(cross(sub(b, a), sub(c, a)), sub(d, a)).sign();
}

// Four points of the list that span space, the first three counter-clockwise
// seen from outside the tetrahedron they make with the fourth.
std::array<std::size_t, 4> first_tetrahedron(const std::vector<Vec3>& p) {
    const std::size_t n = p.size();
    std::size_t b = 1;
    while (b < n && p[b] == p[0]) ++b;
    std::size_t c = b + 1;
    while (c < n && cross(sub(p[b], p[0]), sub(p[c], p[0])) == Vec3{}) ++c;
    std::size_t d = c + 1;
    while (d < n && orient(p[0], p[b], p[c], p[d]) == 0) ++d;
    if (d >= n) {
        throw Panic(PanicKind::invalid_argument,
                    "hull: the points lie in one plane (or line, or point), so they bound no solid; "
                    "give at least four points that do not");
    }
    // d must lie behind the face (0, b, c) as seen from outside.
    if (orient(p[0], p[b], p[c], p[d]) > 0) std::swap(b, c);
    return {0, b, c, d};
}

}  // namespace

Solid convex_hull(const std::vector<Vec3>& points, const std::string& label) {
    if (points.size() < 4) {
        throw Panic(PanicKind::invalid_argument,
                    "hull: " + std::to_string(points.size()) + " points bound no solid; give at least four");
    }
    const auto [a, b, c, d] = first_tetrahedron(points);
    std::vector<Face> faces{{a, b, c}, {a, d, b}, {b, d, c}, {c, d, a}};
    std::vector<Float3> fp(points.size());
    for (std::size_t i = 0; i < points.size(); ++i) fp[i] = to_f3(points[i]);
    const auto sees = [&](const Face& f, std::size_t i) {
        return local::orient3d(points[f[0]], fp[f[0]], points[f[1]], fp[f[1]], points[f[2]], fp[f[2]], points[i],
                               fp[i]) > 0;
    };
    for (std::size_t i = 0; i < points.size(); ++i) {
        guard::poll(static_cast<std::int64_t>(faces.size()));
        if (i == a || i == b || i == c || i == d) continue;
        // The faces p sees; their boundary (edges with a hidden face on the
        // other side) is the horizon, which p is joined to.
        std::vector<Face> kept;
        std::map<std::pair<std::size_t, std::size_t>, int> edges;  // directed edges of visible faces
        for (const Face& f : faces) {
            if (sees(f, i)) {
                for (std::size_t k = 0; k < 3; ++k) ++edges[{f[k], f[(k + 1) % 3]}];
            } else {
                kept.push_back(f);
            }
        }
        if (kept.size() == faces.size()) continue;  // inside or on the hull
        for (const auto& [edge, count] : edges) {
            if (!edges.contains({edge.second, edge.first})) kept.push_back({edge.first, edge.second, i});
        }
        faces = std::move(kept);
    }
    Solid out;
    for (const Face& f : faces)
        out.polygons.push_back(Polygon::make({points[f[0]], points[f[1]], points[f[2]]}, label));
    return out;
}

}  // namespace corv
