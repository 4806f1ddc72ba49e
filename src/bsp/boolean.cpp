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

}  // namespace

Solid boolean(BooleanOp op, const Solid& a, const Solid& b) {
    bsp::Room room;
    return boolean(op, a, b, room);
}

Solid boolean(BooleanOp op, const Solid& a, const Solid& b, bsp::Room& room) {
    room.clear();
    bsp::Workspace& ws = room.ws;
    ws.reserve_for(a, b);
    bsp::build(ws, room.a, ws.load(a));
    bsp::build(ws, room.b, ws.load(b));
    bsp::combine(op, ws, room.a, room.b);
    return ws.result(bsp::take_faces(room.a));
}

ShapedSolid boolean(BooleanOp op, const Solid& a, const bsp::TreeShape* a_shape, const Solid& b,
                    const bsp::TreeShape* b_shape) {
    bsp::Room room;
    bsp::Workspace& ws = room.ws;
    ws.reserve_for(a, b);
    lay_out(ws, room.a, a, a_shape);
    lay_out(ws, room.b, b, b_shape);
    bsp::combine(op, ws, room.a, room.b);
    std::optional<bsp::TreeShape> shape = bsp::shape_of(ws, room.a);
    ShapedSolid out{ws.result(bsp::take_faces(room.a)), nullptr};
    if (shape) out.tree_shape = std::make_shared<const bsp::TreeShape>(std::move(*shape));
    return out;
}

}  // namespace corv
