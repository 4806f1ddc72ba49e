// The solid-making and solid-changing calls that take number texts: each
// reads its numbers in argument order, then calls the kernel.
#pragma once

#include <string>
#include <vector>

#include "bsp/boolean.h"
#include "builders/ear_clip.h"
#include "core/solid.h"
#include "rs_entry/texts.h"

namespace corv::rs_entry {

// (x, y) pairs of a flat list x0, y0, x1, y1, ..., read in order; an unpaired
// last text is never read.
std::vector<Point2> parse_outline(const Texts& flat);

Solid make_box(const std::string& dx, const std::string& dy, const std::string& dz, const std::string& prefix);
Solid make_prism(const Texts& loop_flat, const std::string& h, const std::string& prefix);
// Reads bottom, z0, top, z1 in that order.
Solid make_prismatoid(const Texts& bottom, const std::string& z0, const Texts& top, const std::string& z1,
                      const std::string& prefix);

Solid translate(const Solid& s, const std::string& x, const std::string& y, const std::string& z);
Solid scale(const Solid& s, const std::string& fx, const std::string& fy, const std::string& fz);
Solid chamfer(const Solid& s, const std::string& dist);
// op is "union", "cut" or "intersect" (anything else: Panic, unknown_op).
// The operands come with their tree shapes when they have them (see
// corv::boolean), and so does the result.
ShapedSolid boolean(const std::string& op, const Solid& a, const bsp::TreeShape* a_shape, const Solid& b,
                    const bsp::TreeShape* b_shape);

}  // namespace corv::rs_entry
