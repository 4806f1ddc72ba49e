// Whether a polygon's loop runs once round its area, without meeting itself,
// counter-clockwise seen from the side its plane faces.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "core/vec3.h"

namespace corv {

// A loop as indices into a shared point table (with its double copies),
// seen along axis `axis`, along which its plane's normal has the sign
// `facing` (+1 or -1). The points are distinct and lie on the plane, so the
// view along the axis is one-to-one.
struct LoopView {
    std::span<const std::uint32_t> corners;
    const std::vector<Vec3>& points;
    const std::vector<Float3>& floats;
    std::size_t axis;
    int facing;
};

// What is wrong with a loop. Positions are places in the loop; side i runs
// from position i to the next.
struct LoopFault {
    enum Kind {
        folds_back,     // side a and the next run back over each other
        sides_meet,     // sides a and b (not neighbours) cross or touch
        winds,          // the loop turns a times round (a > 1), never turning back
        turns_against,  // a simple loop, clockwise seen from the side the plane faces
    };
    Kind kind;
    std::size_t a = 0, b = 0;
};

// Nothing for a good loop. Locally convex loops are settled in one pass;
// others by a sweep over the sides in O(n log n) exact predicates (screened
// in doubles).
std::optional<LoopFault> loop_fault(const LoopView& loop);

}  // namespace corv
