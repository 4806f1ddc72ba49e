// The parameter kinds of the corvanthium package: exact numbers alone and in
// nested sequences, outlines of (x, y) pairs, axes and counts. Every one
// names its parameter (and the index path inside it) in its errors.
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "binder/parameters.h"
#include "builders/ear_clip.h"
#include "core/rational.h"

namespace corv::python_lib {

using Numbers = std::vector<Rational>;
using NumberRows = std::vector<Numbers>;
using NumberNet = std::vector<NumberRows>;

extern const binder::Converter number;                // Rational
extern const binder::Converter optional_number;       // std::optional<Rational>
extern const binder::Converter number_list;           // Numbers
extern const binder::Converter number_rows;           // NumberRows
extern const binder::Converter number_net;            // NumberNet
extern const binder::Converter optional_number_list;  // std::optional<Numbers>
extern const binder::Converter optional_number_rows;  // std::optional<NumberRows>
extern const binder::Converter outline;               // std::vector<Point2>, from (x, y) pairs
extern const binder::Converter axis;                  // std::uint64_t 0, 1 or 2, from 0..2 or "x", "y", "z"
extern const binder::Converter count;                 // std::uint64_t, a non-negative int
extern const binder::Converter flag;                  // bool, True or False only (omitted: False)
extern const binder::Converter quarters;              // std::int64_t in 0..3: any int, taken modulo 4
extern const binder::Converter optional_quarters;     // the same, 1 when omitted

// The value, when positive; otherwise Panic (invalid_argument) naming the
// call and the argument: a size, height or distance of 0 or below makes no solid.
const Rational& positive(const Rational& value, const char* call, const char* argument);

}  // namespace corv::python_lib
