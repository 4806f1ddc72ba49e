// How a facet of another operand cuts a facet: not at all, across (the
// facet is split by its plane), or in the same plane (the facet is split by
// the planes through its edges, square to the common plane).
#pragma once

#include <cstdint>
#include <vector>

#include "bsp/split.h"
#include "local/soup.h"

namespace corv::local {

enum class Relation : std::uint8_t { apart, across, coplanar };

// apart when p lies on one closed side of q's plane without lying in it, or
// when q lies strictly on one side of p's plane; coplanar when every vertex
// of p is in q's plane; across otherwise.
Relation relation(const Facet& p, const Facet& q);

struct CutPlane {
    Plane plane;
    FloatPlane fp;
};

// The planes a piece in the cell must be split by, for the candidates given
// (facet numbers), and the coplanar candidates among them.
struct CellCuts {
    std::vector<CutPlane> planes;
    std::vector<std::uint32_t> coplanar;
};

CellCuts cell_cuts(const Soup& soup, const Facet& p, const std::vector<std::uint32_t>& candidates);

// Whether piece has vertices strictly on both sides of the plane.
bool straddles(const CutPlane& c, const Polygon& piece);

// Whether q lies strictly inside the convex facet f, q being in its plane.
bool strictly_inside(const Facet& f, const Vec3& q, const Float3& fq);

}  // namespace corv::local
