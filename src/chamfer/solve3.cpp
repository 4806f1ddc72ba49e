#include "chamfer/solve3.h"

namespace corv {

std::optional<Vec3> solve3(const std::array<Vec3, 3>& rows, const Vec3& rhs) {
    const Rational det = dot(rows[0], cross(rows[1], rows[2]));
    if (det.is_zero()) return std::nullopt;
    const Vec3 c0{rows[0].x, rows[1].x, rows[2].x};
    const Vec3 c1{rows[0].y, rows[1].y, rows[2].y};
    const Vec3 c2{rows[0].z, rows[1].z, rows[2].z};
    return Vec3{dot(rhs, cross(c1, c2)) / det, dot(c0, cross(rhs, c2)) / det, dot(c0, cross(c1, rhs)) / det};
}

}  // namespace corv
