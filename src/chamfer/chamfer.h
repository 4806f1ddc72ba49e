// Bevels every edge met by exactly two face planes by dist, and cuts the
// corners where three such edges meet. Throws ValueFailure with
// "chamfer: non-rational face normal (K2)" when a face at an edge has no
// rational unit normal, Panic for an empty solid.
#pragma once

#include "core/solid.h"

namespace corv {

Solid chamfer(const Solid& solid, const Rational& dist);

}  // namespace corv
