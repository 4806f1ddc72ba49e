#include "bevel/bevel.h"

#include <optional>
#include <string>
#include <vector>

#include "bevel/edge_bevel.h"
#include "bevel/end_links.h"
#include "bevel/face_limits.h"
#include "bevel/pieces.h"
#include "core/guard.h"
#include "core/measures.h"
#include "core/panic.h"
#include "edges/solid_edges.h"
#include "local/local_boolean.h"

namespace corv {
namespace {

std::vector<SolidEdge> edges_for_chamfer(const Solid& solid) {
    guard::progress(kChamferOp, 0, 1);  // the chamfer's progress, not the edges' it asks for
    if (solid.polygons.empty()) {
        throw Panic(PanicKind::empty_solid, "chamfer: the solid is empty, it has no edges to bevel");
    }
    try {
        return solid_edges(solid);
    } catch (const Panic& p) {
        throw Panic(p.kind, std::string("chamfer: ") + p.what());
    }
}

Solid bevel_chosen(const Solid& solid, const std::vector<SolidEdge>& edges,
                   std::vector<std::optional<EdgeBevel>> bevels, const Rational& dist) {
    const Links links = end_links(edges);
    const BevelContext ctx{edges, links, bevels};
    const std::vector<MergedBevels> merged = check_face_limits(ctx, dist);
    // Every piece lies within dist of the solid's surface (a fill), or is
    // only needed inside the solid (a cut): a box 2 dist wider holds both.
    auto [lo, hi] = bbox(solid.polygons);
    const Vec3 margin{dist + dist, dist + dist, dist + dist};
    const Clearance clearance = clearance_of(solid);
    Pieces pieces = bevel_pieces(PieceSite{ctx, merged, sub(lo, margin), add(hi, margin), clearance});
    Solid out = solid;
    if (!pieces.filled.empty()) {
        pieces.filled.insert(pieces.filled.begin(), solid);
        out = local_union_all(pieces.filled);
    }
    if (!pieces.removed.empty()) out = local_cut_all(out, pieces.removed);
    return out;
}

void check_dist(const Rational& dist) {
    if (dist.sign() <= 0) {
        throw Panic(PanicKind::invalid_argument, "chamfer: argument 'dist' must be positive, got " + dist.plain_text());
    }
}

}  // namespace

Solid bevel_edges(const Solid& solid, std::span<const std::size_t> chosen, const Rational& dist) {
    check_dist(dist);
    if (chosen.empty()) return solid;
    const std::vector<SolidEdge> edges = edges_for_chamfer(solid);
    std::vector<std::optional<EdgeBevel>> bevels(edges.size());
    for (std::size_t i : chosen) {
        if (i >= edges.size()) {
            throw Panic(PanicKind::index, "chamfer: edge index " + std::to_string(i) + " is past the solid's " +
                                              std::to_string(edges.size()) + " edges");
        }
        if (!bevels[i]) bevels[i] = edge_bevel(edges[i], dist);
    }
    return bevel_chosen(solid, edges, std::move(bevels), dist);
}

Solid bevel_all_edges(const Solid& solid, const Rational& dist) {
    check_dist(dist);
    const std::vector<SolidEdge> edges = edges_for_chamfer(solid);
    std::vector<std::optional<EdgeBevel>> bevels;
    bevels.reserve(edges.size());
    for (const SolidEdge& e : edges) bevels.emplace_back(edge_bevel(e, dist));
    return bevel_chosen(solid, edges, std::move(bevels), dist);
}

}  // namespace corv
