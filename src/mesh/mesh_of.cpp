#include "mesh/mesh_of.h"

#include "core/guard.h"
#include "core/panic.h"
#include "mesh/boundary.h"
#include "mesh/manifold_split.h"
#include "mesh/plane_groups.h"
#include "mesh/regions.h"
#include "mesh/slits.h"

namespace corv {

using namespace mesh;

namespace {

std::vector<Region> face_regions(const Soup& soup, const std::vector<PlaneGroup>& groups) {
    std::vector<Region> regions;
    for (std::uint32_t g = 0; g < groups.size(); ++g) {
        const PlanarView view{&soup.points, &soup.fpoints, groups[g].frame};
        Coverage cov = coverage(net_boundary(soup, groups[g], view), view);
        // Every region has a polygon facing its way (its coverage comes from
        // one); the other side's label would serve should none be found.
        for (bool back : {false, true}) {
            std::vector<Edge>& edges = back ? cov.back : cov.front;
            if (edges.empty()) continue;
            std::uint32_t label = first_label_facing(soup, groups[g], back);
            if (label == UINT32_MAX) label = first_label_facing(soup, groups[g], !back);
            if (label == UINT32_MAX) throw Panic(PanicKind::not_manifold, "mesh: a face has no polygon with area");
            regions.push_back({g, back, label, std::move(edges)});
        }
    }
    return regions;
}

TriMesh assemble(std::vector<Vec3>& points, const std::vector<Triangle>& triangles,
                 const std::vector<std::uint32_t>& labels, const std::vector<std::string>& names) {
    TriMesh out;
    std::vector<std::uint32_t> new_index(points.size(), UINT32_MAX), new_label(names.size(), UINT32_MAX);
    out.triangles.reserve(triangles.size());
    out.labels.reserve(triangles.size());
    for (std::size_t t = 0; t < triangles.size(); ++t) {
        std::array<std::uint32_t, 3> tri{};
        for (std::size_t k = 0; k < 3; ++k) {
            std::uint32_t& slot = new_index[triangles[t][k]];
            if (slot == UINT32_MAX) {
                slot = static_cast<std::uint32_t>(out.vertices.size());
                out.vertices.push_back(std::move(points[triangles[t][k]]));
            }
            tri[k] = slot;
        }
        out.triangles.push_back(tri);
        std::uint32_t& l = new_label[labels[t]];
        if (l == UINT32_MAX) {
            l = static_cast<std::uint32_t>(out.label_names.size());
            out.label_names.push_back(names[labels[t]]);
        }
        out.labels.push_back(l);
    }
    return out;
}

}  // namespace

TriMesh mesh_of(const Solid& solid) {
    Soup soup = soup_of(solid);
    if (soup.polygons.empty()) throw Panic(PanicKind::empty_solid, "mesh: the solid is empty (it has no faces)");
    const std::vector<PlaneGroup> groups = plane_groups(soup);
    std::vector<Region> regions = face_regions(soup, groups);
    if (regions.empty()) throw Panic(PanicKind::empty_solid, "mesh: the solid is empty (all its faces cancel)");

    auto view_of = [&](const Region& r) { return PlanarView{&soup.points, &soup.fpoints, groups[r.group].frame}; };
    std::vector<std::uint8_t> corner(soup.points.size(), 0);
    PointScratch scratch(soup.points.size());
    for (const Region& r : regions) mark_corners(r, view_of(r), scratch, corner);
    std::vector<std::uint32_t> kept;
    for (std::uint32_t v = 0; v < corner.size(); ++v) {
        if (corner[v]) kept.push_back(v);
    }
    const PointIndex index = point_index(soup.points, soup.fpoints, std::move(kept));

    std::vector<std::vector<Triangle>> region_triangles;
    std::uint64_t done = 0;
    for (Region& r : regions) {
        guard::progress("mesh", done++, regions.size());
        guard::poll(static_cast<std::int64_t>(r.edges.size()));
        straighten(r, corner, index, scratch);
        region_triangles.push_back(triangulate_region(r.edges, view_of(r)));
    }
    std::vector<Triangle> triangles;
    std::vector<std::uint32_t> labels;
    std::vector<Edge> crossed;
    for (bool first = true;; first = false) {
        triangles.clear();
        labels.clear();
        for (std::size_t k = 0; k < regions.size(); ++k) {
            for (Triangle t : region_triangles[k]) {
                // Back faces were triangulated as seen from the front.
                if (regions[k].back) std::swap(t[1], t[2]);
                triangles.push_back(t);
                labels.push_back(regions[k].label);
            }
        }
        if (manifold_split(soup.points, soup.fpoints, triangles, first ? &crossed : nullptr)) break;
        for (const Edge& e : crossed) {
            for (std::size_t k = 0; k < regions.size(); ++k) {
                const Vec3& n = groups[regions[k].group].normal;
                const Rational w = dot(n, soup.points[regions[k].edges[0][0]]);
                if (dot(n, soup.points[e[0]]) != w || dot(n, soup.points[e[1]]) != w) continue;
                cut_along(region_triangles[k], e[0], e[1], view_of(regions[k]));
            }
        }
    }
    return assemble(soup.points, triangles, labels, soup.labels);
}

}  // namespace corv
