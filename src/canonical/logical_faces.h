// The number of distinct (unoriented) face planes of a solid.
#pragma once

#include <cstddef>

#include "core/solid.h"

namespace corv {

std::size_t logical_faces(const Solid& solid);

}  // namespace corv
