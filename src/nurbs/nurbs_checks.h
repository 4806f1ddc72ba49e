// The arguments of a NURBS evaluation checked before it runs, with messages
// naming the call and the argument: the number of control points for the
// degree, the length and order of the knot vector, the parameter inside
// the domain the knots give, and one positive weight per control point.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

#include "core/rational.h"

namespace corv {

struct KnotArguments {
    std::string_view call;       // e.g. "nurbs_curve_point"
    std::string_view points;     // the control points' argument, e.g. "cps"
    std::string_view knots;      // e.g. "knots"
    std::string_view parameter;  // e.g. "t"
};

// One direction: `count` control points of the given degree, their knots and
// the parameter. The domain runs from knot[degree] to knot[count]; the
// parameter must lie in it (no extrapolation). Throws Panic (invalid_argument).
void check_knots(const KnotArguments& names, std::uint64_t degree, std::size_t count,
                 const std::vector<Rational>& knots, const Rational& parameter);

// One weight per control point, each positive (`what` names the argument,
// and the row for a surface).
void check_weights(std::string_view call, std::string_view what, std::size_t count,
                   const std::vector<Rational>& weights);

}  // namespace corv
