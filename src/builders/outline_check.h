// Whether an outline bounds a region that a solid can stand on: at least
// three points, no point given twice, not all in one line, and no two edges
// meeting except neighbours at their common corner (an outline that
// crosses or touches itself has no inside to extrude).
#pragma once

#include <string_view>
#include <vector>

#include "builders/ear_clip.h"

namespace corv {

// Throws Panic (invalid_argument) naming `what` (the call and argument,
// e.g. "prism: argument 'outline'") and the points or edges at fault, by
// index and coordinates. Edges are found by sweeping their x ranges, so
// outlines of many thousands of points are checked in about n log n.
void check_outline(const std::vector<Point2>& outline, std::string_view what);

// Whether all the points lie on one line (or are one point): the end of a
// prismatoid that narrows to a ridge or an apex.
bool on_one_line(const std::vector<Point2>& outline);

}  // namespace corv
