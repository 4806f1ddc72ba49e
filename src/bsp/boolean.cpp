#include "bsp/boolean.h"

#include "bsp/node.h"

namespace corv {
namespace {

// The polygons of b that lie outside a, added to a's tree; b is read out
// only as the last thing done with it, so its polygons are moved, not copied.
void merge_outside_parts(Node& ta, Node& tb) {
    tb.clip_to(ta);
    tb.invert();
    tb.clip_to(ta);
    tb.invert();
    ta.build(tb.take_polygons());
}

}  // namespace

Solid boolean(BooleanOp op, const Solid& a, const Solid& b) {
    Node ta, tb;
    ta.build(a.polygons);
    tb.build(b.polygons);
    switch (op) {
        case BooleanOp::union_:
            ta.clip_to(tb);
            merge_outside_parts(ta, tb);
            break;
        case BooleanOp::cut:
            ta.invert();
            ta.clip_to(tb);
            merge_outside_parts(ta, tb);
            ta.invert();
            break;
        case BooleanOp::intersect:
            ta.invert();
            tb.clip_to(ta);
            tb.invert();
            ta.clip_to(tb);
            tb.clip_to(ta);
            ta.build(tb.take_polygons());
            ta.invert();
            break;
    }
    return Solid::make(ta.take_polygons());
}

}  // namespace corv
