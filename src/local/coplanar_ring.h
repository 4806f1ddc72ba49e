// A facet with one facet of another operand lying flat on it, strictly
// inside it (a boss standing on a plate, a hub on a disc, the cap of a
// hole flush with a plate's face): its pieces are the inner facet's
// outline and the ring around it. The ring is split between the two
// outlines into convex polygons whose corners are the outlines' own
// points, so no point is made: cutting the facet by every edge plane of
// the inner one would make a new point on each cut, each from the last.
#pragma once

#include <optional>
#include <vector>

#include "core/polygon.h"

namespace corv::local {

struct RingPieces {
    Polygon inner;              // the inner outline, in the outer facet's plane, label and turn
    std::vector<Polygon> ring;  // convex, covering the ring once
};

// Nothing unless every point of inner lies strictly inside outer (both
// convex, in one plane) and the ring is split as described.
std::optional<RingPieces> ring_pieces(const Polygon& outer, const Polygon& inner);

// Whether the two loops have the same points in the same cyclic order,
// either way round.
bool same_loop(const Polygon& a, const Polygon& b);

// Where another facet meets the polygon's plane: a corner on it, or an
// edge passing through it from p (on side `side` of the plane, +1 in front)
// to q, not made as a point.
struct PlaneSpot {
    const Vec3* p;
    const Float3* fp;
    const Vec3* q = nullptr;
    const Float3* fq = nullptr;
    int side = 0;
};

// Whether the spots all lie on the outer closed side of one of the
// polygon's edges' lines, so that nothing spanned by them meets its inside.
bool clear_of(const Polygon& polygon, const std::vector<PlaneSpot>& spots);

// Whether every point lies on one edge of the polygon (ends included).
bool on_one_edge(const Polygon& polygon, const std::vector<Vec3>& points);

}  // namespace corv::local
