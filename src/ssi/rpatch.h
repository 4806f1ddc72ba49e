// RPatch: a tensor-product Bezier patch with exact control points, Cartesian
// (x, y, z) or homogeneous (w*x, w*y, w*z, w, ...), together with the
// rectangle of the starting patch's parameter domain that it covers.
//
// The point mode is read from the length of net[0][0]: exactly 3 entries is
// Cartesian, any other length is homogeneous. Subdivision blends the first
// dim = |net[0][0]| entries of every point; the box reads entries 0..2
// (Cartesian) or 0..3 (homogeneous). The weights are not checked for sign:
// with negative weights the box is still that of the projected points.
#pragma once

#include <array>
#include <cstddef>
#include <utility>
#include <vector>

#include "core/rational.h"
#include "core/vec3.h"

namespace corv {

using Point = std::vector<Rational>;  // (x, y, z) or (w*x, w*y, w*z, w, ...)
using Row = std::vector<Point>;       // points along v
using Net = std::vector<Row>;         // net[i][j]: u index i, v index j

// Closed axis-aligned box (lo, hi) of the projected control points.
using PatchBox = std::pair<Vec3, Vec3>;

struct RPatch {
    Net net;
    Rational u0, u1, v0, v1;

    // Splits every row, as a Bezier curve in its own index, at parameter 1/2,
    // blending the first dim entries of each point. Returns (left rows, right
    // rows) in input order: the left row covers 0..1/2, the right 1/2..1, and
    // they share the split point. A point shorter than dim that takes part
    // in a blend throws Panic.
    static std::pair<std::vector<Row>, std::vector<Row>> split_rows(const std::vector<Row>& rows, std::size_t dim);
    // The same, consuming the rows (no working copy is made).
    static std::pair<std::vector<Row>, std::vector<Row>> split_rows(std::vector<Row>&& rows, std::size_t dim);

    // The four quarters at the parameter midpoints, in the order
    // (u low, v low), (u low, v high), (u high, v low), (u high, v high).
    // Each has as many rows as this net and as many points per row as row 0;
    // points past that in longer rows are dropped. Throws Panic for an empty
    // net or first row, a row shorter than row 0, or a short point in a blend.
    std::array<RPatch, 4> split4() const;

    // Exact box of all control points of all rows. Throws Panic for an empty
    // net or first row, a point too short for the mode, or a zero weight.
    PatchBox bbox() const;
};

// True when the closed boxes have no point in common (touching boxes meet).
bool boxes_disjoint(const PatchBox& a, const PatchBox& b);

}  // namespace corv
