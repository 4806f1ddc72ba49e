// One point of a B-spline by de Boor's triangular scheme, exactly. Control
// points are vectors of any length blended coordinate by coordinate; callers
// pass homogeneous points (w*x, w*y, w*z, w) to evaluate rational curves and,
// row by row, tensor-product surfaces.
#pragma once

#include <cstdint>
#include <vector>

#include "core/rational.h"

namespace corv {

using HPoint = std::vector<Rational>;

// The span index k for parameter t over n control points of degree p: the
// last span when t >= knots[n], the first (k = p) when t <= knots[p] or when
// there is nothing to search, otherwise the largest k in [p, n - 1] with
// knots[k] <= t found by bisection. Reads knots[n], then knots[p], then the
// bisection's midpoints; a read past the end of knots throws Panic. n >= 1.
std::size_t deboor_span(std::uint64_t p, const std::vector<Rational>& knots, std::size_t n, const Rational& t);

// What deboor_h selects for a point list with the given point lengths: the
// span k and the length of the result. Reads no coordinates and throws exactly
// where deboor_h would, so a caller can check inputs it will not evaluate.
struct DeBoorShape {
    std::size_t k;
    std::size_t dim;
};
DeBoorShape deboor_shape(std::uint64_t p, const std::vector<Rational>& knots, const std::vector<std::size_t>& sizes,
                         const Rational& t);

// deboor_h for a shape that deboor_shape accepted. Only points[k - p .. k] are
// read, so the others may be left empty.
HPoint deboor_at(std::uint64_t p, const std::vector<Rational>& knots, const std::vector<HPoint>& points,
                 const Rational& t, const DeBoorShape& shape);

// The point of the degree-p spline with the given knots and control points at
// t. The working dimension is the length of points[0]; for p >= 1 the result
// has exactly that many coordinates (longer points are cut to it), for p = 0 it
// is a copy of the selected point. A zero-length knot interval blends with
// weight 0. Throws Panic when there are no points, fewer than p + 1 points,
// too few knots for the selected span, or a blended point shorter than
// points[0].
HPoint deboor_h(std::uint64_t p, const std::vector<Rational>& knots, const std::vector<HPoint>& points,
                const Rational& t);

}  // namespace corv
