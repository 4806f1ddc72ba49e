#include "bsp/boolean.h"

#include "bsp/room.h"
#include "bsp/tree.h"

namespace corv {
namespace {

using bsp::Tree;
using bsp::Workspace;

// The faces of b that lie outside a, added to a's tree.
void merge_outside_parts(Workspace& ws, Tree& ta, Tree& tb) {
    bsp::clip_to(ws, tb, ta);
    bsp::invert(tb);
    bsp::clip_to(ws, tb, ta);
    bsp::invert(tb);
    bsp::build(ws, ta, bsp::take_faces(tb));
}

}  // namespace

Solid boolean(BooleanOp op, const Solid& a, const Solid& b) {
    bsp::Room room;
    return boolean(op, a, b, room);
}

Solid boolean(BooleanOp op, const Solid& a, const Solid& b, bsp::Room& room) {
    room.clear();
    Workspace& ws = room.ws;
    Tree& ta = room.a;
    Tree& tb = room.b;
    ws.reserve_for(a, b);
    bsp::build(ws, ta, ws.load(a));
    bsp::build(ws, tb, ws.load(b));
    switch (op) {
        case BooleanOp::union_:
            bsp::clip_to(ws, ta, tb);
            merge_outside_parts(ws, ta, tb);
            break;
        case BooleanOp::cut:
            bsp::invert(ta);
            bsp::clip_to(ws, ta, tb);
            merge_outside_parts(ws, ta, tb);
            bsp::invert(ta);
            break;
        case BooleanOp::intersect:
            bsp::invert(ta);
            bsp::clip_to(ws, tb, ta);
            bsp::invert(tb);
            bsp::clip_to(ws, ta, tb);
            bsp::clip_to(ws, tb, ta);
            bsp::build(ws, ta, bsp::take_faces(tb));
            bsp::invert(ta);
            break;
    }
    return ws.result(bsp::take_faces(ta));
}

}  // namespace corv
