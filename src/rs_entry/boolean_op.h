// The name of a Boolean operation, as callers write it.
#pragma once

#include <string_view>

#include "core/boolean_ops.h"

namespace corv::rs_entry {

// "union", "cut" or "intersect"; anything else throws Panic (kind
// unknown_op, text "unknown op").
BooleanOp parse_boolean_op(std::string_view name);

}  // namespace corv::rs_entry
