#include "nurbs/nurbs_checks.h"

#include <string>

#include "core/panic.h"

namespace corv {
namespace {

[[noreturn]] void refuse(std::string_view call, std::string_view argument, const std::string& why) {
    throw Panic(PanicKind::invalid_argument, std::string(call) + ": argument '" + std::string(argument) + "' " + why);
}

std::string n(std::size_t k) { return std::to_string(k); }

}  // namespace

void check_knots(const KnotArguments& names, std::uint64_t degree, std::size_t count,
                 const std::vector<Rational>& knots, const Rational& parameter) {
    if (degree >= count) {
        refuse(names.call, names.points,
               "needs at least degree + 1 = " + n(degree + 1) + " control points, got " + n(count));
    }
    const std::size_t want = count + degree + 1;
    if (knots.size() != want) {
        refuse(
            names.call, names.knots,
            "must have one knot more than control points and degree together, " + n(want) + ", got " + n(knots.size()));
    }
    for (std::size_t i = 0; i + 1 < knots.size(); ++i) {
        if (knots[i + 1] < knots[i]) {
            refuse(names.call, names.knots,
                   "must not decrease: knot " + n(i) + " is " + knots[i].plain_text() + ", knot " + n(i + 1) + " is " +
                       knots[i + 1].plain_text());
        }
    }
    const Rational& lo = knots[degree];
    const Rational& hi = knots[count];
    if (!(lo < hi)) {
        refuse(names.call, names.knots,
               "gives an empty domain: knot " + n(degree) + " and knot " + n(count) + " are both " + lo.plain_text());
    }
    if (parameter < lo || hi < parameter) {
        refuse(names.call, names.parameter,
               "must lie in the domain [" + lo.plain_text() + ", " + hi.plain_text() + "] (knot " + n(degree) +
                   " to knot " + n(count) + "), got " + parameter.plain_text());
    }
}

void check_weights(std::string_view call, std::string_view what, std::size_t count,
                   const std::vector<Rational>& weights) {
    if (weights.size() != count) {
        refuse(call, what, "must have one weight per control point, " + n(count) + ", got " + n(weights.size()));
    }
    for (std::size_t i = 0; i < weights.size(); ++i) {
        if (weights[i].sign() <= 0) {
            refuse(call, what, "must be positive: weight " + n(i) + " is " + weights[i].plain_text());
        }
    }
}

}  // namespace corv
