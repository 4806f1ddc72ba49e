#include "bsp/boolean.h"

#include "bsp/combine.h"
#include "bsp/room.h"

namespace corv {

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

}  // namespace corv
