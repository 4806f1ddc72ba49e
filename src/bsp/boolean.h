// Union, cut and intersect of two polygon soups by BSP trees.
#pragma once

#include "core/boolean_ops.h"
#include "core/solid.h"

namespace corv {

namespace bsp {
struct Room;
}

// The solid a op b; neither operand is changed.
Solid boolean(BooleanOp op, const Solid& a, const Solid& b);
// The same, working in room: a chain of Booleans on one thread shares one
// room, so each Boolean after the first finds its arrays already sized.
// The result does not depend on what the room held before.
Solid boolean(BooleanOp op, const Solid& a, const Solid& b, bsp::Room& room);

}  // namespace corv
