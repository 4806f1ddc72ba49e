#include "bsp/boolean.h"

#include "bsp/node.h"
#include "core/panic.h"

namespace corv {

Solid boolean_impl(std::string_view op, const Solid& a, const Solid& b) {
    Node ta, tb;
    ta.build(a.polygons);
    tb.build(b.polygons);
    // tb is read out only as the last thing done with it, so its polygons
    // are moved out rather than copied.
    if (op == "union") {
        ta.clip_to(tb);
        tb.clip_to(ta);
        tb.invert();
        tb.clip_to(ta);
        tb.invert();
        ta.build(tb.take_polygons());
    } else if (op == "cut") {
        ta.invert();
        ta.clip_to(tb);
        tb.clip_to(ta);
        tb.invert();
        tb.clip_to(ta);
        tb.invert();
        ta.build(tb.take_polygons());
        ta.invert();
    } else if (op == "intersect") {
        ta.invert();
        tb.clip_to(ta);
        tb.invert();
        ta.clip_to(tb);
        tb.clip_to(ta);
        ta.build(tb.take_polygons());
        ta.invert();
    } else {
        throw Panic(PanicKind::unknown_op, "unknown op");
    }
    return Solid::make(ta.take_polygons());
}

}  // namespace corv
