// Readable failure messages for exact values in the chamfer tests.
#pragma once

#include <ostream>

#include "core/vec3.h"

namespace corv {

inline void PrintTo(const Rational& q, std::ostream* os) { *os << q.text(); }
inline void PrintTo(const Vec3& p, std::ostream* os) { *os << '(' << point_text(p) << ')'; }

}  // namespace corv
