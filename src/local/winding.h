// Exact winding numbers by vertical rays. Facets that are not vertical are
// put into the columns of a 2-D grid over x and y; the winding number of a
// solid at a point is the signed count of its facets above the point whose
// projection contains it (+1 for an upward normal, -1 for a downward one).
//
// Queries are made at a point q of a facet piece with plane normal nf, and
// answer for two points just in front of and just behind the piece. Every
// tie is broken by a symbolic perturbation of the query point,
//   p* = q + eps u + eps^2 v + s delta nf,  s = +1 or -1,
// with 1 >> eps >> delta > 0 infinitesimal and u, v spanning the piece's
// plane: the vertical ray from p* meets no edge, vertex or plane of any
// facet, so the count is the winding number of every closed polygon soup,
// T-junctions included.
//
// The point first moves within the piece and only then off it. The piece is
// cut by every feature of the other operands, but not by those of its own:
// a face of the same solid may touch the piece's interior along a line (two
// parts of one solid meeting along an edge), and a query point on that line
// would see, just in front of it, the other part's interior. The order of
// the infinitesimals makes the answer that of a generic point of the piece,
// which is the same all over it.
#pragma once

#include <array>

#include "local/facet_soup.h"
#include "local/grid.h"

namespace corv::local {

// Winding numbers of each facet group (summed over its operands).
struct Windings {
    std::array<int, 2> front{0, 0};
    std::array<int, 2> back{0, 0};
};

struct Columns {
    Grid grid;
};

Columns make_columns(const FacetSoup& soup);

// The directions of the perturbation for a piece with plane normal nf (not
// zero): u and v in the plane, independent.
struct Perturbation {
    Vec3 u, v, nf;
};
Perturbation perturbation_of(const Vec3& nf);

// q must lie strictly inside facet `own` (a piece of it), and nf be that
// facet's normal: its own crossing is then known without a test.
Windings windings_at(const FacetSoup& soup, const Columns& columns, std::size_t own, const Vec3& q, const Float3& fq,
                     const Vec3& nf);

// The front and back answers of the perturbed point-in-polygon test of p*
// against the projection of loop onto the xy plane (any orientation).
std::array<bool, 2> projection_contains(const Polygon& loop, const Vec3& q, const Float3& fq, const Perturbation& d);

}  // namespace corv::local
