// How decode refuses: one Panic of kind corrupt_data, whose text says what
// is wrong and where, and names points and polygons by their index in the
// stored tables.
#pragma once

#include <cstddef>
#include <string>

#include "core/vec3.h"

namespace corv {

// Throws Panic(corrupt_data): "corrupt solid data: " + what + a closing
// word on what to do.
[[noreturn]] void corrupt(const std::string& what);

// "point 7 (1, 0, 1/2)"; coordinates too long to print are left out.
std::string point_words(std::size_t index, const Vec3& p);

}  // namespace corv
