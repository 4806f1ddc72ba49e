// The number text grammar: how a caller's text becomes an exact Rational.
// Every text-taking call reads its numbers through here, in the order the
// call documents; the kernel below only ever sees the parsed values.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "core/rational.h"
#include "core/vec3.h"
#include "rs_entry/texts.h"

namespace corv::rs_entry {

// Reads the number text grammar: an optional sign, digits with '_' allowed
// after the first, and optionally "/" and a second such integer; with three
// or more pieces only the first is read. Malformed text throws Panic (kind
// parse), a zero denominator Panic (kind zero_denominator).
Rational parse_r(std::string_view text);

// Every text of the list, in order.
std::vector<Rational> parse_all(const Texts& texts);

// The point (x, y, z), read x first.
Vec3 parse_point(const std::string& x, const std::string& y, const std::string& z);

}  // namespace corv::rs_entry
