#include "bsp/boolean.h"

#include "bsp/combine.h"
#include "bsp/room.h"
#include "bsp/tree_shape.h"

namespace corv {
namespace {

// The operand's tree: laid out from its shape when it has one that fits,
// else built by sorting its faces.
void lay_out(bsp::Workspace& ws, bsp::Tree& tree, const Solid& s, const bsp::TreeShape* shape) {
    std::vector<bsp::Face> faces = ws.load(s);
    if (shape != nullptr && bsp::build_from_shape(tree, faces, *shape)) return;
    bsp::build(ws, tree, std::move(faces));
}

// Leaves the tree of a op b in room.a.
void combine_in(bsp::Room& room, BooleanOp op, const Solid& a, const bsp::TreeShape* a_shape, const Solid& b,
                const bsp::TreeShape* b_shape) {
    room.clear();
    room.ws.reserve_for(a, b);
    lay_out(room.ws, room.a, a, a_shape);
    lay_out(room.ws, room.b, b, b_shape);
    bsp::combine(op, room.ws, room.a, room.b);
}

}  // namespace

Solid boolean(BooleanOp op, const Solid& a, const Solid& b) {
    bsp::Room room;
    return boolean(op, a, b, room);
}

Solid boolean(BooleanOp op, const Solid& a, const Solid& b, bsp::Room& room) {
    combine_in(room, op, a, nullptr, b, nullptr);
    return room.ws.result(bsp::take_faces(room.a));
}

ShapedSolid boolean(BooleanOp op, const Solid& a, const bsp::TreeShape* a_shape, const Solid& b,
                    const bsp::TreeShape* b_shape) {
    bsp::Room room;
    combine_in(room, op, a, a_shape, b, b_shape);
    std::optional<bsp::TreeShape> shape = bsp::shape_of(room.ws, room.a);
    ShapedSolid out{room.ws.result(bsp::take_faces(room.a)), nullptr};
    if (shape) out.tree_shape = std::make_shared<const bsp::TreeShape>(std::move(*shape));
    return out;
}

}  // namespace corv
