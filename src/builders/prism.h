// Right prisms and prismatoids from planar outlines.
#pragma once

#include <string>
#include <vector>

#include "builders/ear_clip.h"
#include "core/solid.h"

namespace corv {

// Extrudes the outline from z = 0 to z = h (a clockwise outline is reversed
// first). Faces, in order: bottom and top of each cap triangle in turn, then
// one side per outline edge, labelled prefix.bottom, prefix.top, prefix.side<i>.
Solid make_prism(std::vector<Point2> outline, const Rational& h, const std::string& prefix);

// The same, except that a strictly convex outline (every corner turning
// left) gets each cap as one polygon: faces bottom, top, then the sides.
// Other outlines are capped as make_prism caps them.
Solid make_prism_whole_caps(std::vector<Point2> outline, const Rational& h, const std::string& prefix);

// Joins the bottom outline at z0 to the top outline at z1: the bottom cap
// triangles, the top cap triangles, then two triangles per bottom edge.
// A top outline with fewer points than the bottom throws Panic (bad_shape).
Solid make_prismatoid(std::vector<Point2> bottom, const Rational& z0, std::vector<Point2> top, const Rational& z1,
                      const std::string& prefix);

}  // namespace corv
