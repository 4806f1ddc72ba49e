// Right prisms and prismatoids from planar outlines given as number texts.
#pragma once

#include <string>

#include "core/solid.h"
#include "core/texts.h"

namespace corv {

// Extrudes the outline (x0, y0, x1, y1, ...) from z = 0 to z = h. Faces, in
// order: bottom and top of each cap triangle in turn, then one side per
// outline edge, labelled prefix.bottom, prefix.top, prefix.side<i>.
Solid make_prism(const Texts& loop_flat, const std::string& h, const std::string& prefix);

// Joins the bottom outline at z0 to the top outline at z1: the bottom cap
// triangles, the top cap triangles, then two triangles per bottom edge.
// A top outline with fewer points than the bottom throws Panic.
Solid make_prismatoid(const Texts& bottom, const std::string& z0, const Texts& top, const std::string& z1,
                      const std::string& prefix);

}  // namespace corv
