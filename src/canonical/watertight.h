// Whether every side of every polygon is matched, stretch by stretch along
// its line, by sides running the opposite way.
#pragma once

#include "core/solid.h"

namespace corv {

bool watertight_ok(const Solid& solid);

}  // namespace corv
