// How a facet of another operand cuts a facet: not at all, across (the
// facet is split by its plane), or in the same plane (the facet is split by
// the planes through its edges, square to the common plane).
#pragma once

#include <cstdint>
#include <vector>

#include "core/split.h"
#include "local/facet_soup.h"

namespace corv::local {

enum class Relation : std::uint8_t { apart, across, coplanar };

// apart when p lies on one closed side of q's plane without lying in it, or
// when q lies strictly on one side of p's plane; coplanar when every vertex
// of p is in q's plane; across otherwise.
Relation relation(const Facet& p, const Facet& q);

struct CutPlane {
    Plane plane;
    FloatPlane fp;
    // For a cut across: the other facet, and the first vertices of its
    // edges that cross the cut facet's plane from front to back (exit) and
    // from back to front (entry); -1 when it touches that plane.
    const Polygon* other = nullptr;
    std::int32_t exit_from = -1, entry_from = -1;
};

// The planes a piece in the cell must be split by, for the candidates given
// (facet numbers), and the coplanar candidates among them.
struct CellCuts {
    std::vector<CutPlane> planes;
    std::vector<std::uint32_t> coplanar;
};

CellCuts cell_cuts(const FacetSoup& soup, const Facet& p, const std::vector<std::uint32_t>& candidates);

// Whether the piece must be split by the plane: it has vertices strictly on
// both sides, and for a cut across it meets the other facet (closed sets).
//
// For convex loops crossing each other's planes cleanly the meeting test
// needs two orientations only: along the line L where the planes meet,
// oriented by n_piece x n_other, the piece covers [entry, exit] and the
// other facet [its exit, its entry]; the order of two such points on L is
// the sign of orient3d of the two edges they lie on, so the intervals meet
// when orient3d(piece exit edge, other exit edge) <= 0 and
// orient3d(piece entry edge, other entry edge) >= 0. A vertex in the other
// plane (a touch) is answered conservatively: cut.
bool must_cut(const CutPlane& c, const Polygon& piece);

// Whether q lies strictly inside the convex facet f, q being in its plane.
bool strictly_inside(const Facet& f, const Vec3& q, const Float3& fq);

}  // namespace corv::local
