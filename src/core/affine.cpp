#include "core/affine.h"

#include <algorithm>

#include "core/guard.h"
#include "core/panic.h"

namespace corv {
namespace {

Vec3 times(const Matrix3& m, const Vec3& p) {
    return {m[0][0] * p.x + m[0][1] * p.y + m[0][2] * p.z, m[1][0] * p.x + m[1][1] * p.y + m[1][2] * p.z,
            m[2][0] * p.x + m[2][1] * p.y + m[2][2] * p.z};
}

// The transpose of the adjugate: row i is the cross product of the other two
// rows, so that cofactors(m) * n is det(m) times the inverse transpose of m
// applied to n.
Matrix3 cofactors(const Matrix3& m) {
    Matrix3 c;
    for (std::size_t i = 0; i < 3; ++i) {
        const auto& a = m[(i + 1) % 3];
        const auto& b = m[(i + 2) % 3];
        c[i] = {a[1] * b[2] - a[2] * b[1], a[2] * b[0] - a[0] * b[2], a[0] * b[1] - a[1] * b[0]};
    }
    return c;
}

}  // namespace

Rational determinant(const Matrix3& m) {
    return m[0][0] * (m[1][1] * m[2][2] - m[1][2] * m[2][1]) - m[0][1] * (m[1][0] * m[2][2] - m[1][2] * m[2][0]) +
           m[0][2] * (m[1][0] * m[2][1] - m[1][1] * m[2][0]);
}

Solid affine_transformed(const Solid& s, const Matrix3& m, const Vec3& t) {
    const Rational det = determinant(m);
    if (det.is_zero()) {
        throw Panic(PanicKind::invalid_argument,
                    "argument 'matrix' is singular (its determinant is 0): it would flatten the solid; "
                    "pass an invertible matrix");
    }
    const bool mirrors = det.sign() < 0;
    const Matrix3 c = cofactors(m);
    std::vector<Polygon> out;
    out.reserve(s.polygons.size());
    for (const Polygon& p : s.polygons) {
        guard::poll(static_cast<std::int64_t>(p.vertices().size()));
        std::vector<Vec3> loop;
        loop.reserve(p.vertices().size());
        for (const Vec3& v : p.vertices()) loop.push_back(add(times(m, v), t));
        Vec3 normal = times(c, p.plane.normal);
        if (mirrors) {
            normal = neg(normal);
            std::reverse(loop.begin(), loop.end());
        }
        Rational offset = loop.empty() ? Rational{} : dot(normal, loop.front());
        out.push_back(Polygon::with_plane(std::move(loop), Plane{std::move(normal), std::move(offset)}, p.label));
    }
    return Solid{std::move(out)};
}

}  // namespace corv
