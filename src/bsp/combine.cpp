#include "bsp/combine.h"

namespace corv::bsp {
namespace {

// The faces of b that lie outside a, added to a's tree.
void merge_outside_parts(Workspace& ws, Tree& ta, Tree& tb) {
    clip_to(ws, tb, ta);
    invert(tb);
    clip_to(ws, tb, ta);
    invert(tb);
    build(ws, ta, take_faces(tb));
}

}  // namespace

void combine(BooleanOp op, Workspace& ws, Tree& ta, Tree& tb) {
    switch (op) {
        case BooleanOp::union_:
            clip_to(ws, ta, tb);
            merge_outside_parts(ws, ta, tb);
            break;
        case BooleanOp::cut:
            invert(ta);
            clip_to(ws, ta, tb);
            merge_outside_parts(ws, ta, tb);
            invert(ta);
            break;
        case BooleanOp::intersect:
            invert(ta);
            clip_to(ws, tb, ta);
            invert(tb);
            clip_to(ws, ta, tb);
            clip_to(ws, tb, ta);
            build(ws, ta, take_faces(tb));
            invert(ta);
            break;
    }
}

}  // namespace corv::bsp
