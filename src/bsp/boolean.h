// Union, cut and intersect of two polygon soups by BSP trees.
#pragma once

#include <memory>

#include "core/boolean_ops.h"
#include "core/solid.h"

namespace corv {

namespace bsp {
struct Room;
struct TreeShape;
}  // namespace bsp

// The solid a op b; neither operand is changed.
Solid boolean(BooleanOp op, const Solid& a, const Solid& b);
// The same, working in room: a chain of Booleans on one thread shares one
// room, so each Boolean after the first finds its arrays already sized.
// The result does not depend on what the room held before.
Solid boolean(BooleanOp op, const Solid& a, const Solid& b, bsp::Room& room);

// A Boolean's result, with the shape of its tree when building a tree from
// the result's polygons would give that same tree (see bsp/tree_shape.h).
struct ShapedSolid {
    Solid solid;
    std::shared_ptr<const bsp::TreeShape> tree_shape;  // null when it would not
};

// The same Boolean for operands that may come with such a shape (a shape
// must belong to exactly that solid, as an earlier ShapedSolid gave them):
// an operand with a shape is laid out as its tree without sorting a face.
// The result is the same polygons with or without shapes.
ShapedSolid boolean(BooleanOp op, const Solid& a, const bsp::TreeShape* a_shape, const Solid& b,
                    const bsp::TreeShape* b_shape);

}  // namespace corv
