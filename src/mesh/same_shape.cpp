#include "mesh/same_shape.h"

#include "core/guard.h"
#include "mesh/boundary.h"
#include "mesh/plane_groups.h"
#include "mesh/soup.h"

namespace corv {

bool same_shape(const Solid& a, const Solid& b) {
    // a's polygons with b's turned over: their coverages subtract.
    Solid both;
    both.polygons.reserve(a.polygons.size() + b.polygons.size());
    both.polygons.insert(both.polygons.end(), a.polygons.begin(), a.polygons.end());
    for (const Polygon& p : b.polygons) both.polygons.push_back(p.flipped());
    const mesh::Soup soup = mesh::soup_of(both);
    const std::vector<mesh::PlaneGroup> groups = mesh::plane_groups(soup);
    for (std::size_t g = 0; g < groups.size(); ++g) {
        guard::progress("same_shape", g, groups.size());
        guard::poll(static_cast<std::int64_t>(groups[g].polygons.size()));
        const PlanarView view{&soup.points, &soup.fpoints, groups[g].frame};
        if (!mesh::net_boundary(soup, groups[g], view).empty()) return false;
    }
    return true;
}

}  // namespace corv
