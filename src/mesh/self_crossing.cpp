#include "mesh/self_crossing.h"

#include <algorithm>
#include <array>
#include <optional>
#include <span>

#include "core/guard.h"
#include "core/panic.h"
#include "local/grid.h"

namespace corv {
namespace {

// A triangle's float box and the grid cell of its low corner.
struct Box {
    Float3 lo, hi;
    std::array<std::uint32_t, 3> first_cell;
    std::uint32_t triangle;
};

bool meet(const Box& a, const Box& b) {
    for (std::size_t k = 0; k < 3; ++k) {
        if (a.hi[k] < b.lo[k] || b.hi[k] < a.lo[k]) return false;
    }
    return true;
}

// The contacts found so far; when only the first crossing is wanted, the
// lowest crossing pair found so far, which later pairs need not beat.
struct Found {
    std::vector<ContactPair> pairs;
    bool first_only = false;
    std::optional<ContactPair> cross;

    bool beats(std::uint32_t i, std::uint32_t j) const {
        return !cross || i < cross->a || (i == cross->a && j < cross->b);
    }
    void add(std::uint32_t i, std::uint32_t j, Contact c) {
        if (!first_only) {
            pairs.push_back({i, j, c});
        } else if (c == Contact::cross) {
            cross = ContactPair{i, j, c};
            pairs.clear();
        } else if (!cross) {
            pairs.push_back({i, j, c});
        }
    }
};

// The pairs of one cell whose boxes meet and whose boxes' common part
// starts in this cell (so that each pair is looked at once). The cell's
// boxes are copied side by side first (`near`, reused from cell to cell).
void cell_contacts(const MeshView& mesh, const std::vector<Box>& boxes, std::span<const std::uint32_t> bucket,
                   std::array<std::uint32_t, 3> at, std::vector<Box>& near, Found& found) {
    near.clear();
    for (const std::uint32_t id : bucket) near.push_back(boxes[id]);
    guard::Watch* watch = guard::current();
    for (std::size_t x = 0; x < near.size(); ++x) {
        const Box& bi = near[x];
        const std::uint32_t i = bi.triangle;
        if (found.first_only && !found.beats(i, i + 1)) return;  // the bucket ascends
        guard::poll(watch, static_cast<std::int64_t>(near.size() - x) / 8 + 1);
        for (std::size_t y = x + 1; y < near.size(); ++y) {
            const Box& bj = near[y];
            const std::uint32_t j = bj.triangle;
            // Cell numbers grow with the coordinate: the common part's low
            // corner lies in the cell of the larger low corners.
            if (std::max(bi.first_cell[0], bj.first_cell[0]) != at[0] ||
                std::max(bi.first_cell[1], bj.first_cell[1]) != at[1] ||
                std::max(bi.first_cell[2], bj.first_cell[2]) != at[2] || !meet(bi, bj) ||
                (found.first_only && !found.beats(i, j))) {
                continue;
            }
            const Contact c = triangle_contact(mesh, i, j);
            if (c == Contact::touch || c == Contact::cross) found.add(i, j, c);
        }
    }
}

}  // namespace

std::vector<ContactPair> mesh_contacts(const MeshView& mesh, bool first_crossing) {
    const std::size_t n = mesh.screened.size();
    if (n >= 0xffffffffu) {
        throw Panic(PanicKind::invalid_argument, "from_mesh: more than 4294967294 triangles");
    }
    Found found;
    found.first_only = first_crossing;
    if (n < 2) return {};
    std::vector<Box> boxes(n);
    std::vector<Float3> lo(n), hi(n);
    for (std::size_t i = 0; i < n; ++i) {
        lo[i] = hi[i] = mesh.screened[i].f[0];
        for (const Float3& p : mesh.screened[i].f) widen(lo[i], hi[i], p);
    }
    Float3 all_lo = lo[0], all_hi = hi[0];
    for (std::size_t i = 0; i < n; ++i) {
        widen(all_lo, all_hi, lo[i]);
        widen(all_lo, all_hi, hi[i]);
    }
    const local::Grid g = local::make_grid(all_lo, all_hi, n, {false, false, false}, n, lo, hi);
    for (std::size_t i = 0; i < n; ++i) {
        const std::array<std::uint32_t, 3> first{g.cell_along(0, lo[i][0]), g.cell_along(1, lo[i][1]),
                                                 g.cell_along(2, lo[i][2])};
        boxes[i] = {lo[i], hi[i], first, static_cast<std::uint32_t>(i)};
    }
    std::vector<Box> near;
    for (std::uint32_t k = 0; k < g.dims[2]; ++k) {
        for (std::uint32_t j = 0; j < g.dims[1]; ++j) {
            for (std::uint32_t i = 0; i < g.dims[0]; ++i) {
                cell_contacts(mesh, boxes, g.bucket(g.cell_index(i, j, k)), {i, j, k}, near, found);
            }
        }
    }
    if (found.cross) return {*found.cross};
    std::sort(found.pairs.begin(), found.pairs.end(),
              [](const ContactPair& x, const ContactPair& y) { return x.a != y.a ? x.a < y.a : x.b < y.b; });
    return std::move(found.pairs);
}

std::string face_text(const std::vector<Vec3>& points, const std::vector<Corners>& faces, std::size_t face) {
    const Corners& c = faces[face];
    return "face " + std::to_string(face) + " " + plain_point_text(points[c[0]]) + ", " +
           plain_point_text(points[c[1]]) + ", " + plain_point_text(points[c[2]]);
}

void refuse_crossings(const std::vector<ContactPair>& contacts, const std::vector<Vec3>& points,
                      const std::vector<Corners>& faces) {
    for (const ContactPair& c : contacts) {
        if (c.kind != Contact::cross) continue;
        const Corners &fa = faces[c.a], &fb = faces[c.b];
        const Plane plane = Plane::from_points(points[fa[0]], points[fa[1]], points[fa[2]]);
        bool flat = true;
        for (std::uint64_t v : fb) flat = flat && plane.side(points[v]) == 0;
        throw Panic(PanicKind::not_manifold, "from_mesh: " + face_text(points, faces, c.a) + " and " +
                                                 face_text(points, faces, c.b) +
                                                 (flat ? " overlap in one plane" : " cross each other") +
                                                 ": the mesh passes through itself there" + kResolveHint);
    }
}

}  // namespace corv
