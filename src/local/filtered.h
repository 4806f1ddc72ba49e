// The filtered predicates of the localized Boolean engine. Each one first
// evaluates in doubles from the correctly rounded float copies of its exact
// inputs and trusts that sign only when it clears an error bound derived
// below; otherwise it says "uncertain" (0) and the caller, or the *_exact
// partner, decides with Rationals. Decisions are therefore always exact.
#pragma once

#include "core/vec3.h"

namespace corv::local {

// Sign of a - b for exact values whose correctly rounded copies are fa, fb.
// Rounding to nearest is monotone, so fa < fb already proves a < b; only
// equal copies need the exact comparison.
int compare_exact(const Rational& a, double fa, const Rational& b, double fb);

// Float screen of the 2-D orientation of (a, b, c) in the coordinate plane
// of axes i and j: the sign of (b-a)_i (c-a)_j - (b-a)_j (c-a)_i, or 0 when
// the double evaluation cannot certify it.
int orient2d_filter(const Float3& a, const Float3& b, const Float3& c, int i, int j);
// The same sign, computed exactly.
int orient2d_exact(const Vec3& a, const Vec3& b, const Vec3& c, int i, int j);
// Screen first, exact when uncertain.
int orient2d(const Vec3& a, const Float3& fa, const Vec3& b, const Float3& fb, const Vec3& c, const Float3& fc, int i,
             int j);

// Float screen of det(b - a, c - a, d - a), or 0 when uncertain.
int orient3d_filter(const Float3& a, const Float3& b, const Float3& c, const Float3& d);
// The same sign, screen first and exact when uncertain.
int orient3d(const Vec3& a, const Float3& fa, const Vec3& b, const Float3& fb, const Vec3& c, const Float3& fc,
             const Vec3& d, const Float3& fd);

}  // namespace corv::local
