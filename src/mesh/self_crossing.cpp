#include "mesh/self_crossing.h"

#include <algorithm>
#include <optional>

#include "core/guard.h"
#include "core/panic.h"
#include "mesh/box_pairs.h"
#include "mesh/fans.h"

namespace corv {
namespace {

// Which corners of each triangle have plain fans (bit c for corner c).
std::vector<std::uint8_t> plain_corners(const MeshView& mesh) {
    const std::vector<std::uint8_t> fans = plain_fans(mesh.points.size(), mesh.screened);
    std::vector<std::uint8_t> out(mesh.screened.size());
    for (std::size_t t = 0; t < out.size(); ++t) {
        const Corners& c = mesh.screened[t].corners;
        out[t] = static_cast<std::uint8_t>(fans[c[0]] | fans[c[1]] << 1 | fans[c[2]] << 2);
    }
    return out;
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

}  // namespace

std::vector<ContactPair> mesh_contacts(const MeshView& mesh, bool first_crossing) {
    const std::size_t n = mesh.screened.size();
    if (n >= 0xffffffffu) {
        throw Panic(PanicKind::invalid_argument, "from_mesh: more than 4294967294 triangles");
    }
    Found found;
    found.first_only = first_crossing;
    if (n < 2) return {};
    guard::Watch* watch = guard::current();
    box_pairs(mesh.screened, plain_corners(mesh), [&](std::uint32_t a, std::uint32_t b) {
        if (found.first_only && !found.beats(a, b)) return;
        guard::poll(watch, 2);
        const Contact c = triangle_contact(mesh, a, b);
        if (c == Contact::touch || c == Contact::cross) found.add(a, b, c);
    });
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
