// The convex pieces a chamfer cuts away and adds: for each chosen edge its
// prism across the edge (edge_bevel.h) ended at both ends (end_clips.h),
// one piece per pair of ways to end; and the corner pieces
// (corner_pieces.h). Pieces of convex edges are cut away, those of
// concave edges filled. A piece that would reach another part of the
// solid (clearance.h) is made again without its widening; if it still
// does, the chamfer is refused.
#pragma once

#include <span>
#include <vector>

#include "bevel/clearance.h"
#include "bevel/end_clips.h"
#include "bevel/face_limits.h"

namespace corv {

// The name the chamfer reports its progress under (one address for every use).
inline constexpr char kChamferOp[] = "chamfer";

struct Pieces {
    std::vector<Solid> removed;
    std::vector<Solid> filled;
};

struct PieceSite {
    const BevelContext& ctx;
    std::span<const MergedBevels> merged;  // the fill of each pair's concave edge ends under its partner's bevel
    Vec3 lo, hi;                           // a box holding the solid and dist around it
    const Clearance& clearance;
};

// Throws Panic (invalid_argument) naming the piece and the face it reaches.
Pieces bevel_pieces(const PieceSite& site);

}  // namespace corv
