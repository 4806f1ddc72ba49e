// Union, cut and intersect of two polygon soups by BSP trees.
#pragma once

#include "core/boolean_ops.h"
#include "core/solid.h"

namespace corv {

// The solid a op b; neither operand is changed.
Solid boolean(BooleanOp op, const Solid& a, const Solid& b);

}  // namespace corv
