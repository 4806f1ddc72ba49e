// The edge pass of the chamfer: one parallelepiped cutter per edge,
// subtracted from a working copy of the solid in edge-list order.
#pragma once

#include <optional>
#include <vector>

#include "chamfer/logical_edges.h"

namespace corv {

namespace bsp {
class CutChain;
}

inline constexpr const char* kNonRationalNormal = "chamfer: non-rational face normal (K2)";

// The size of every edge cutter along the edge and across the chamfer face:
// the L1 extent of the bounding box plus 1. An empty solid throws Panic.
Rational cutter_reach(const Solid& solid);

// The cutter that bevels one edge by dist, or nothing when the edge is
// skipped (dist 0, or faces that do not meet along the edge's point).
// Throws ValueFailure when a face plane has no rational unit normal, and
// Panic when a face plane has a zero normal.
std::optional<Solid> edge_cutter(const Edge& edge, const Rational& dist, const Rational& reach);

// Cuts every edge's cutter away from the chain's working solid (the solid
// the edges were taken from), one Boolean per edge, in edge-list order.
void edge_pass(const Solid& solid, const std::vector<Edge>& edges, const Rational& dist, bsp::CutChain& chain);

}  // namespace corv
