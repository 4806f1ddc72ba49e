// Parameter kinds for triangle meshes: flat numeric buffers (numpy arrays,
// memoryviews, bytes) read without per-element Python work, and any Python
// object passed through untouched.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "binder/parameters.h"

namespace corv::python_lib {

using DoubleTriples = std::vector<std::array<double, 3>>;
using IndexTriples = std::vector<std::array<std::int64_t, 3>>;

// A C-contiguous buffer of float64 (format 'd'), of shape (n, 3) or flat with
// a length divisible by 3 -> DoubleTriples.
extern const binder::Converter double_triples;
// A C-contiguous buffer of 64-bit signed integers (format 'q' or 'l'), of
// shape (m, 3) or flat -> IndexTriples.
extern const binder::Converter index_triples;
// Any object, as a borrowed PyObject* (the call keeps it referenced).
extern const binder::Converter any_object;

}  // namespace corv::python_lib
