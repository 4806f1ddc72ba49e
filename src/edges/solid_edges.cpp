#include "edges/solid_edges.h"

#include <algorithm>
#include <map>
#include <unordered_map>
#include <utility>

#include "canonical/canonical.h"
#include "canonical/line_position.h"
#include "core/guard.h"
#include "core/panic.h"
#include "edges/edge_measures.h"
#include "edges/line_runs.h"

namespace corv {
namespace {

struct LineEntry {
    EdgeLine line;
    std::vector<SideOnLine> sides;
};

// The solid's faces (oriented planes) and, per polygon, its face.
struct Faces {
    std::vector<Plane> planes;
    std::vector<Vec3> normals;
    std::vector<std::uint32_t> of_polygon;
};

Faces faces_of(const Solid& solid) {
    Faces faces;
    std::map<std::string, std::uint32_t> index;
    for (const Polygon& p : solid.polygons) {
        guard::poll(4);
        if (norm1(p.plane.normal).is_zero()) {
            faces.of_polygon.push_back(UINT32_MAX);
            continue;
        }
        Plane plane = integer_plane_of(p.plane);
        std::string key;
        for (std::size_t i = 0; i < 3; ++i) {
            plane.normal[i].append_text(key);
            key += ',';
        }
        plane.offset.append_text(key);
        auto [it, inserted] = index.try_emplace(std::move(key), static_cast<std::uint32_t>(faces.planes.size()));
        if (inserted) {
            faces.normals.push_back(plane.normal);
            faces.planes.push_back(std::move(plane));
        }
        faces.of_polygon.push_back(it->second);
    }
    return faces;
}

std::unordered_map<std::string, LineEntry> lines_of(const Solid& solid, const Faces& faces) {
    std::unordered_map<std::string, LineEntry> lines;
    for (std::size_t pi = 0; pi < solid.polygons.size(); ++pi) {
        const std::uint32_t face = faces.of_polygon[pi];
        if (face == UINT32_MAX) continue;
        const std::vector<Vec3>& loop = solid.polygons[pi].vertices();
        guard::poll(static_cast<std::int64_t>(4 * loop.size()));
        for (std::size_t i = 0; i < loop.size(); ++i) {
            std::optional<LineSide> side = line_side(loop[i], loop[(i + 1) % loop.size()]);
            if (!side) continue;
            const bool along = side->ta < side->tb;
            auto [it, inserted] = lines.try_emplace(std::move(side->key));
            if (inserted) it->second.line = EdgeLine{loop[i], side->dir};
            it->second.sides.push_back(SideOnLine{face, along ? 1 : -1, along ? side->ta : side->tb,
                                                  along ? side->tb : side->ta, static_cast<std::uint32_t>(pi)});
        }
    }
    return lines;
}

int compare(const Vec3& a, const Vec3& b) {
    for (std::size_t i = 0; i < 3; ++i) {
        if (a[i] != b[i]) return a[i] < b[i] ? -1 : 1;
    }
    return 0;
}

bool edge_less(const SolidEdge& a, const SolidEdge& b) {
    if (int c = compare(a.start, b.start)) return c < 0;
    if (int c = compare(a.end, b.end)) return c < 0;
    if (int c = compare(a.faces[0].plane.normal, b.faces[0].plane.normal)) return c < 0;
    return compare(a.faces[1].plane.normal, b.faces[1].plane.normal) < 0;
}

}  // namespace

Plane integer_plane_of(const Plane& plane) {
    const PlaneKey key = canonical_plane(plane);
    // The key's first non-zero normal part is positive; the plane's part
    // there says whether the key faces the same way.
    std::size_t first = 0;
    while (first < 3 && key[first].is_zero()) ++first;
    if (first == 3) throw Panic(PanicKind::division_by_zero, "a face plane has a zero normal");
    const bool flip = plane.normal[first].sign() < 0;
    Plane out;
    for (std::size_t i = 0; i < 3; ++i) {
        out.normal[i] = Rational::from_integer(flip ? -key[i] : key[i]);
    }
    out.offset = Rational::from_integer(flip ? -key[3] : key[3]);
    return out;
}

std::vector<SolidEdge> solid_edges(const Solid& solid) {
    const Faces faces = faces_of(solid);
    const std::unordered_map<std::string, LineEntry> lines = lines_of(solid, faces);
    std::vector<SolidEdge> edges;
    std::size_t done = 0;
    for (const auto& [key, entry] : lines) {
        guard::progress("edges", ++done, lines.size());
        for (const PairRun& run : pair_runs(entry.sides, entry.line, faces.normals)) {
            SolidEdge e{point_at(entry.line, run.lo),
                        point_at(entry.line, run.hi),
                        {EdgeFace{faces.planes[run.plus], solid.polygons[run.plus_polygon].label},
                         EdgeFace{faces.planes[run.minus], solid.polygons[run.minus_polygon].label}},
                        false,
                        run.shared};
            // Turning from face 1 into face 0 about the edge sweeps the solid.
            const int turn = dot(edge_direction(e), cross(inward(e, 1), inward(e, 0))).sign();
            if (turn == 0) continue;  // faces back to back: a sheet, not an edge of a solid
            e.convex = turn > 0;
            edges.push_back(std::move(e));
        }
    }
    std::sort(edges.begin(), edges.end(), edge_less);
    return edges;
}

}  // namespace corv
