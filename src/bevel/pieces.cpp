#include "bevel/pieces.h"

#include <algorithm>
#include <string>

#include "bevel/convex_piece.h"
#include "bevel/corner_pieces.h"
#include "core/guard.h"
#include "core/panic.h"
#include "edges/edge_measures.h"

namespace corv {
namespace {

void add_plane(std::vector<Plane>& planes, const Plane& p) {
    if (std::find(planes.begin(), planes.end(), p) == planes.end()) planes.push_back(p);
}

// The planes of every face at the vertex.
void add_star_faces(const BevelContext& ctx, const VertexStar& star, std::vector<Plane>& planes) {
    for (const EdgeEnd& at : star.ends) {
        for (const EdgeFace& f : ctx.edges[at.edge].faces) add_plane(planes, f.plane);
    }
}

[[noreturn]] void reaches(const Piece& piece, const std::string& face) {
    throw Panic(PanicKind::invalid_argument, "chamfer: " + piece.what + " would reach " + face +
                                                 ", another part of the solid within dist of it; use a smaller "
                                                 "dist, or leave the edge out");
}

// The edge's prism: its three sides, and its merged partners' bevels.
std::vector<HalfSpace> prism_of(const PieceSite& site, std::size_t i, bool flush) {
    const SolidEdge& e = site.ctx.edges[i];
    const std::array<HalfSpace, 3> sides = edge_prism(e, *site.ctx.bevels[i], flush);
    std::vector<HalfSpace> prism(sides.begin(), sides.end());
    for (const MergedBevels& m : site.merged) {
        if (m.concave == i) prism.push_back(kept_side(*site.ctx.bevels[m.convex]));
    }
    return prism;
}

// The piece of the prism ended by the two alternatives.
Piece edge_piece(const PieceSite& site, const std::vector<HalfSpace>& prism, const std::vector<HalfSpace>& start,
                 const std::vector<HalfSpace>& end, const Piece& shape) {
    Piece piece = shape;
    piece.cuts = prism;
    piece.cuts.insert(piece.cuts.end(), start.begin(), start.end());
    piece.cuts.insert(piece.cuts.end(), end.begin(), end.end());
    piece.solid = convex_piece(site.lo, site.hi, piece.cuts, "chamfer");
    return piece;
}

void add_edge_pieces(const PieceSite& site, std::size_t i, Pieces& out) {
    const BevelContext& ctx = site.ctx;
    const SolidEdge& e = ctx.edges[i];
    const std::vector<HalfSpace> widened = prism_of(site, i, e.shared_line), flush = prism_of(site, i, true);
    const Alternatives starts = end_clips(ctx, i, 0), ends = end_clips(ctx, i, 1);
    Piece shape{{},
                {},
                {},
                "the bevel of edge " + edge_text(e) + " between faces '" + e.faces[0].label + "' and '" +
                    e.faces[1].label + "'"};
    for (const EdgeFace& f : e.faces) add_plane(shape.own_faces, f.plane);
    for (std::size_t end = 0; end < 2; ++end) {
        add_star_faces(ctx, ctx.links.stars[ctx.links.star_of[i][end]], shape.own_faces);
    }
    // The flush prism held to its own stretch at uniform corners, the last
    // try before a refusal.
    std::vector<HalfSpace> held = flush;
    for (int end = 0; end < 2; ++end) {
        for (HalfSpace& h : uniform_limits(ctx, i, end)) held.push_back(std::move(h));
    }
    for (const auto& a : starts) {
        for (const auto& b : ends) {
            Piece piece = edge_piece(site, widened, a, b, shape);
            if (reached_face(site.clearance, piece)) {
                piece = edge_piece(site, flush, a, b, shape);
                if (held.size() > flush.size() && reached_face(site.clearance, piece)) {
                    piece = edge_piece(site, held, a, b, shape);
                }
                if (auto face = reached_face(site.clearance, piece)) reaches(piece, *face);
            }
            if (piece.solid.polygons.empty()) continue;
            (e.convex ? out.removed : out.filled).push_back(std::move(piece.solid));
        }
    }
}

void add_corner_pieces(const PieceSite& site, std::size_t s, Pieces& out) {
    const VertexStar& star = site.ctx.links.stars[s];
    for (CornerPieces& corner : corner_pieces(site.ctx, s)) {
        Piece piece{{}, {}, {}, "the corner at " + plain_point_text(star.point)};
        add_star_faces(site.ctx, star, piece.own_faces);
        for (std::vector<HalfSpace>& cuts : corner.tetrahedra) {
            piece.solid = convex_piece(site.lo, site.hi, cuts, "chamfer");
            piece.cuts = std::move(cuts);
            if (auto face = reached_face(site.clearance, piece)) reaches(piece, *face);
            if (piece.solid.polygons.empty()) continue;
            (corner.convex ? out.removed : out.filled).push_back(std::move(piece.solid));
        }
    }
}

}  // namespace

Pieces bevel_pieces(const PieceSite& site) {
    Pieces out;
    std::size_t chosen = 0, done = 0;
    for (const auto& b : site.ctx.bevels) chosen += b ? 1u : 0u;
    for (std::size_t i = 0; i < site.ctx.edges.size(); ++i) {
        if (!site.ctx.bevels[i]) continue;
        guard::progress(kChamferOp, ++done, chosen);
        add_edge_pieces(site, i, out);
    }
    for (std::size_t s = 0; s < site.ctx.links.stars.size(); ++s) {
        guard::poll(4);
        add_corner_pieces(site, s, out);
    }
    return out;
}

}  // namespace corv
