// Exact number texts in the decimal and fraction forms people type: "3",
// "-1/3", "0.25", ".5", "1e3", "2.5E-4", "1_000". A text either reads as
// exactly one rational or is refused; nothing is rounded.
#pragma once

#include <string_view>

#include "core/rational.h"

namespace corv::exact_text {

// Largest exponent magnitude a text may carry ("1e100000" is the limit):
// beyond it a text would stand for a number too large to hold usefully.
inline constexpr long max_decimal_exponent = 100000;

// Reads, with optional ASCII whitespace around the whole text:
//   [sign] digits "/" digits                       (a fraction)
//   [sign] digits ["." [digits]] [("e"|"E") [sign] digits]
//   [sign] "." digits [("e"|"E") [sign] digits]    (a decimal)
// where digits may be grouped by single '_' between digits. Anything else
// throws Panic (kind parse) naming the text; a zero denominator throws Panic
// (kind zero_denominator), an exponent beyond max_decimal_exponent Panic
// (kind invalid_argument).
Rational parse_fraction_text(std::string_view text);

}  // namespace corv::exact_text
