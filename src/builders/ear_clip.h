// Exact planar outlines: signed area and ear-clipping triangulation.
#pragma once

#include <vector>

#include "core/rational.h"

namespace corv {

struct Point2 {
    Rational x, y;
    friend bool operator==(const Point2&, const Point2&) = default;
};

struct Triangle2 {
    Point2 a, b, c;
    friend bool operator==(const Triangle2&, const Triangle2&) = default;
};

// Twice the signed area of the closed outline; positive when it runs
// counter-clockwise. The empty outline gives 0.
Rational loop_area2(const std::vector<Point2>& outline);

// Triangulates a simple counter-clockwise outline by clipping ears.
//
// The search always takes the first ear in outline order: corner i (with
// neighbours prev and next in the remaining loop) is an ear when it turns
// strictly left and no other remaining corner (other by index, not by
// value) lies strictly inside the triangle (prev, i, next) or on the open
// segment from next to prev. The ear's triangle (prev, i, next) is emitted,
// the corner removed, and the search starts again from the first corner.
// Three remaining corners make the last triangle as they stand, whatever
// their turn. When no corner is an ear (a clockwise outline, or corners all
// straight or reflex) the triangles found so far are returned and the rest
// of the outline stays uncovered. Fewer than three points give nothing.
std::vector<Triangle2> ear_clip(const std::vector<Point2>& outline);

}  // namespace corv
