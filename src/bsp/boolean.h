// Union, cut and intersect of two polygon soups by BSP trees.
#pragma once

#include <string_view>

#include "core/solid.h"

namespace corv {

// op is "union", "cut" or "intersect"; anything else throws Panic("unknown op").
Solid boolean_impl(std::string_view op, const Solid& a, const Solid& b);

}  // namespace corv
