// Exact solution of three linear equations in three unknowns.
#pragma once

#include <array>
#include <optional>

#include "core/vec3.h"

namespace corv {

// The x with dot(rows[i], x) = rhs[i] for i = 0, 1, 2 (Cramer's rule), or
// nothing when the determinant is zero.
std::optional<Vec3> solve3(const std::array<Vec3, 3>& rows, const Vec3& rhs);

}  // namespace corv
