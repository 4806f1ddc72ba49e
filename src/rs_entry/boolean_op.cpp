#include "rs_entry/boolean_op.h"

#include "core/panic.h"

namespace corv::rs_entry {

BooleanOp parse_boolean_op(std::string_view name) {
    if (name == "union") return BooleanOp::union_;
    if (name == "cut") return BooleanOp::cut;
    if (name == "intersect") return BooleanOp::intersect;
    throw Panic(PanicKind::unknown_op, "unknown op");
}

}  // namespace corv::rs_entry
