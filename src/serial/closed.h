// Whether the stored polygons close up: every side matched, stretch by
// stretch along its line, by sides running the other way (the notion of
// watertight_ok, so a side of one polygon may be met by several shorter
// sides of its neighbours, at a T-junction).
#pragma once

#include <cstddef>
#include <optional>
#include <vector>

#include "core/vec3.h"
#include "serial/reader.h"

namespace corv {

// A side of polygon `polygon` running from its vertex `position` to the next.
struct SideRef {
    std::size_t polygon, position;
};

// Nothing when every side is matched, else a side on a line where the sides
// do not balance. Sides that meet their reverse exactly (the same two
// points) are paired by point index alone; only the rest are placed on
// their lines with exact arithmetic.
std::optional<SideRef> unmatched_side(const Stored& s, const std::vector<Vec3>& points);

}  // namespace corv
