// How far to step across an edge, in a face, to land at dist from it: along
// a direction w of length sqrt(q) (q = |w|^2, exact), the step is t w with
// t = dist / sqrt(q). That is rational when q is the square of a rational;
// otherwise sqrt(q) is replaced by the simplest rational within a relative
// 2^-55 of it, so the step lands within a relative 2^-54 (about 6e-17) of
// dist.
#pragma once

#include "core/rational.h"

namespace corv {

struct Setback {
    Rational scale;  // t
    bool exact;      // t sqrt(q) == dist
};

// q must be positive (a zero q throws Panic).
Setback setback_scale(const Rational& dist, const Rational& q);

// The rational with the smallest denominator in [lo, hi] (0 < lo <= hi).
Rational simplest_between(const Rational& lo, const Rational& hi);

}  // namespace corv
