// The localized exact Boolean engine. Facets of the operands meet only
// where their float boxes meet (found in a grid); each facet that others come
// near is cut locally by just those facets' planes (in axis-aligned cells
// when many crowd it), every resulting piece is classified by exact winding
// numbers of vertical rays, and splits that end the same way on both sides
// are undone. Facets nothing comes near are classified a whole class at a
// time and come out unchanged. Results are regularised point sets: no piece
// bounds the result on both sides, and a region where faces of two operands
// coincide is output once.
//
// Operands are closed, consistently oriented polygon soups with convex faces
// (T-junctions and repeated points are fine); a point is inside an operand
// where its winding number is positive.
#pragma once

#include <span>

#include "core/boolean_ops.h"
#include "core/solid.h"

namespace corv {

Solid local_boolean(BooleanOp op, const Solid& a, const Solid& b);
// The union of all the solids, in one pass.
Solid local_union_all(std::span<const Solid> solids);
// a minus every tool, in one pass.
Solid local_cut_all(const Solid& a, std::span<const Solid> tools);

}  // namespace corv
