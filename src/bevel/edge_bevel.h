// The bevel of one edge: in each of its two faces the line at dist from the
// edge, and the plane through both lines, which replaces the edge.
#pragma once

#include <array>

#include "bevel/planes.h"
#include "edges/solid_edges.h"

namespace corv {

struct EdgeBevel {
    // From the edge to its line in face i: perpendicular to the edge, in
    // the face, of length dist (or within a relative 6e-17 of it where no
    // rational step has length dist; see setback.h).
    std::array<Vec3, 2> step;
    // Through both lines; its normal points to the edge's side.
    Plane plane;
    bool exact;  // both steps have length dist exactly
};

EdgeBevel edge_bevel(const SolidEdge& edge, const Rational& dist);

// The side of the bevel plane away from the edge (what a bevel keeps of a
// convex edge's solid), and the edge's side.
HalfSpace kept_side(const EdgeBevel& bevel);
HalfSpace edge_side(const EdgeBevel& bevel);

// The three half-spaces of the prism across the edge swept along it: the
// triangle of the edge's point and its two lines, widened beyond the edge
// (by pushing its corner at the edge out to twice as far from the bevel),
// so that its sides cross the faces instead of lying in them; with
// `flush`, not widened (the sides lie in the faces).
std::array<HalfSpace, 3> edge_prism(const SolidEdge& edge, const EdgeBevel& bevel, bool flush);

}  // namespace corv
