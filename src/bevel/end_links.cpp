#include "bevel/end_links.h"

#include <algorithm>
#include <optional>
#include <string>

#include "core/guard.h"
#include "core/panic.h"
#include "edges/edge_measures.h"
#include "edges/turn_order.h"

namespace corv {
namespace {

bool point_less(const Vec3& a, const Vec3& b) {
    for (std::size_t i = 0; i < 3; ++i) {
        if (a[i] != b[i]) return a[i] < b[i];
    }
    return false;
}

// The face's next edge at the vertex: the first of its edges there met
// turning from this one into the face.
FaceNext next_in_face(const std::vector<SolidEdge>& edges, const VertexStar& star, EdgeEnd at, int side) {
    const SolidEdge& e = edges[at.edge];
    const Plane& face = e.faces[static_cast<std::size_t>(side)].plane;
    const Vec3 out = out_of(e, at.end);
    const int sense = dot(face.normal, cross(out, inward(e, side))).sign();
    const Turn turn{face.normal, out};
    std::optional<FaceNext> best;
    Vec3 best_out;
    for (const EdgeEnd& other : star.ends) {
        if (other.edge == at.edge) continue;
        const SolidEdge& r = edges[other.edge];
        for (int t = 0; t < 2; ++t) {
            if (r.faces[static_cast<std::size_t>(t)].plane != face) continue;
            Vec3 r_out = out_of(r, other.end);
            if (!best || turns_before(turn, sense, r_out, best_out)) {
                best = FaceNext{other.edge, t, norm1(cross(out, r_out)).is_zero()};
                best_out = std::move(r_out);
            }
        }
    }
    if (!best) {
        throw Panic(PanicKind::not_manifold, "chamfer: face '" + e.faces[static_cast<std::size_t>(side)].label +
                                                 "' has no other edge at " + plain_point_text(star.point) +
                                                 ", where edge " + edge_text(e) + " ends");
    }
    return *best;
}

}  // namespace

const Vec3& end_point(const SolidEdge& edge, int end) { return end == 0 ? edge.start : edge.end; }

Vec3 out_of(const SolidEdge& edge, int end) { return end == 0 ? sub(edge.end, edge.start) : sub(edge.start, edge.end); }

Links end_links(const std::vector<SolidEdge>& edges) {
    std::vector<EdgeEnd> all;
    for (std::size_t i = 0; i < edges.size(); ++i) all.insert(all.end(), {EdgeEnd{i, 0}, EdgeEnd{i, 1}});
    std::sort(all.begin(), all.end(), [&](const EdgeEnd& a, const EdgeEnd& b) {
        return point_less(end_point(edges[a.edge], a.end), end_point(edges[b.edge], b.end));
    });
    Links links;
    links.star_of.resize(edges.size());
    links.next.resize(edges.size());
    for (std::size_t i = 0; i < all.size();) {
        VertexStar star{end_point(edges[all[i].edge], all[i].end), {}};
        for (; i < all.size() && end_point(edges[all[i].edge], all[i].end) == star.point; ++i) {
            star.ends.push_back(all[i]);
            links.star_of[all[i].edge][static_cast<std::size_t>(all[i].end)] = links.stars.size();
        }
        guard::poll(static_cast<std::int64_t>(8 * star.ends.size() * star.ends.size()));
        for (const EdgeEnd& at : star.ends) {
            for (int side = 0; side < 2; ++side) {
                links.next[at.edge][static_cast<std::size_t>(at.end)][static_cast<std::size_t>(side)] =
                    next_in_face(edges, star, at, side);
            }
        }
        links.stars.push_back(std::move(star));
    }
    return links;
}

}  // namespace corv
