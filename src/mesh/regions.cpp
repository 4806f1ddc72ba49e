#include "mesh/regions.h"

#include "core/panic.h"

namespace corv::mesh {
namespace {

void count_degrees(const Region& region, PointScratch& s) {
    for (const Edge& e : region.edges) {
        s.out_to[e[0]] = e[1];
        s.in_from[e[1]] = e[0];
        if (s.out_degree[e[0]] < 2) ++s.out_degree[e[0]];
        if (s.in_degree[e[1]] < 2) ++s.in_degree[e[1]];
    }
}

void reset_degrees(const Region& region, PointScratch& s) {
    for (const Edge& e : region.edges) {
        s.out_degree[e[0]] = s.in_degree[e[0]] = 0;
        s.out_degree[e[1]] = s.in_degree[e[1]] = 0;
    }
}

}  // namespace

void mark_corners(const Region& region, const PlanarView& view, PointScratch& s, std::vector<std::uint8_t>& corner) {
    count_degrees(region, s);
    for (const Edge& e : region.edges) {
        const std::uint32_t v = e[1];
        if (corner[v]) continue;
        if (s.in_degree[v] != 1 || s.out_degree[v] != 1) {
            corner[v] = 1;
            continue;
        }
        const std::uint32_t from = e[0], to = s.out_to[v];
        // Straight on: collinear and not turning back.
        bool straight = view.orient(from, v, to) == 0 && view.dot_sign(from, v, v, to) > 0;
        if (!straight) corner[v] = 1;
    }
    reset_degrees(region, s);
}

void straighten(Region& region, const std::vector<std::uint8_t>& corner, const PointIndex& kept, PointScratch& s) {
    count_degrees(region, s);
    std::vector<Edge> out;
    std::size_t walked = 0;
    for (const Edge& e : region.edges) {
        if (!corner[e[0]]) continue;
        std::uint32_t end = e[1];
        ++walked;
        while (!corner[end]) {
            end = s.out_to[end];
            if (++walked > region.edges.size()) break;
        }
        std::uint32_t from = e[0];
        for (std::uint32_t p : points_inside(kept, e[0], end)) {
            out.push_back({from, p});
            from = p;
        }
        out.push_back({from, end});
    }
    reset_degrees(region, s);
    if (walked != region.edges.size()) {
        throw Panic(PanicKind::not_manifold, "mesh: a face boundary does not close up (the solid is not closed)");
    }
    region.edges = std::move(out);
}

}  // namespace corv::mesh
