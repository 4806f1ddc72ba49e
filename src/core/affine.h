// Exact affine maps of solids: p -> M p + t for any invertible rational 3 x 3
// matrix M. Each point is mapped exactly; each plane is carried over by the
// matrix's adjugate (normals transform by the inverse transpose), so no plane
// is rebuilt from its points and none can come out zero. A map that mirrors
// (det M < 0) turns every loop round, so the solid stays outward.
#pragma once

#include <array>

#include "core/solid.h"

namespace corv {

using Matrix3 = std::array<std::array<Rational, 3>, 3>;  // rows

Rational determinant(const Matrix3& m);

// The solid mapped by p -> m p + t. A singular m throws Panic
// (invalid_argument); the message names the matrix as "argument 'matrix'".
Solid affine_transformed(const Solid& s, const Matrix3& m, const Vec3& t);

}  // namespace corv
