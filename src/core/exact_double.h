// Exact conversion of a double to a Rational: a finite double is a dyadic
// rational, so nothing is rounded.
#pragma once

#include "core/rational.h"

namespace corv {

// NaN and the infinities throw Panic (invalid_argument).
Rational from_double(double d);

}  // namespace corv
