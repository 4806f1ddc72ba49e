// The three Booleans as steps on the trees of their two operands.
#pragma once

#include "bsp/tree.h"
#include "core/boolean_ops.h"

namespace corv::bsp {

// Leaves a op b in ta, given ta and tb built from a's and b's faces; tb is
// left without faces.
void combine(BooleanOp op, Workspace& ws, Tree& ta, Tree& tb);

}  // namespace corv::bsp
