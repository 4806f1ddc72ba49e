#include "core/polygon.h"

#include <algorithm>
#include <cmath>

#include "core/panic.h"

namespace corv {
namespace {

std::vector<Float3> float_copy(const std::vector<Vec3>& vertices) {
    std::vector<Float3> out;
    out.reserve(vertices.size());
    for (const Vec3& v : vertices) out.push_back(to_f3(v));
    return out;
}

// The float screen of is_degenerate: true only when the float fan sum proves
// the exact one non-zero. g must exceed 1e-7 and also a rigorous bound on the
// rounding error of the float computation, which grows with the magnitude of
// the coordinates (not of their differences) and with the vertex count.
bool float_screen_says_area(const std::vector<Float3>& f) {
    const std::size_t n = f.size();
    const Float3& o = f[0];
    double sx = 0, sy = 0, sz = 0;  // fan sum
    double mag = 0;                 // sum of |products| over magnitudes of coordinates
    for (std::size_t i = 1; i + 1 < n; ++i) {
        const Float3& p = f[i];
        const Float3& q = f[i + 1];
        double ax = p[0] - o[0], ay = p[1] - o[1], az = p[2] - o[2];
        double bx = q[0] - o[0], by = q[1] - o[1], bz = q[2] - o[2];
        sx += ay * bz - az * by;
        sy += az * bx - ax * bz;
        sz += ax * by - ay * bx;
        double Ax = std::fabs(p[0]) + std::fabs(o[0]), Ay = std::fabs(p[1]) + std::fabs(o[1]),
               Az = std::fabs(p[2]) + std::fabs(o[2]);
        double Bx = std::fabs(q[0]) + std::fabs(o[0]), By = std::fabs(q[1]) + std::fabs(o[1]),
               Bz = std::fabs(q[2]) + std::fabs(o[2]);
        mag += (Ay * Bz + Az * By) + (Az * Bx + Ax * Bz) + (Ax * By + Ay * Bx);
    }
    double g = std::fabs(sx) + std::fabs(sy) + std::fabs(sz);
    if (!(g > 1e-7) || !std::isfinite(g)) return false;
    // Each term carries a relative error of a few units of 2^-53 against the
    // magnitudes (rounded inputs, differences, products) plus one unit per
    // accumulation step; (n + 16) * 2^-50 covers that with a wide margin. The
    // absolute term covers underflow.
    double bound = mag * (static_cast<double>(n) + 16.0) * 0x1p-50 + 1e-290;
    if (!std::isfinite(bound)) return false;
    return g > bound;
}

}  // namespace

Polygon Polygon::make(std::vector<Vec3> vertices, std::string label) {
    if (vertices.size() < 3) {
        throw Panic(PanicKind::too_few_vertices,
                    "a polygon needs at least three vertices, got " + std::to_string(vertices.size()));
    }
    Plane plane = Plane::from_points(vertices[0], vertices[1], vertices[2]);
    return with_plane(std::move(vertices), std::move(plane), std::move(label));
}

Polygon Polygon::with_plane(std::vector<Vec3> vertices, Plane plane, std::string label) {
    Polygon p;
    p.float_vertices = float_copy(vertices);
    p.vertices = std::move(vertices);
    p.plane = std::move(plane);
    p.label = std::move(label);
    return p;
}

Vec3 Polygon::vector_area2() const {
    if (vertices.empty()) throw Panic(PanicKind::too_few_vertices, "area of a polygon without vertices");
    Vec3 s{0, 0, 0};
    const Vec3& o = vertices[0];
    for (std::size_t i = 1; i + 1 < vertices.size(); ++i) {
        s = add(s, cross(sub(vertices[i], o), sub(vertices[i + 1], o)));
    }
    return s;
}

Rational Polygon::area2() const {
    Vec3 s = vector_area2();
    return dot(s, s);
}

bool Polygon::is_degenerate() const {
    if (vertices.size() < 3) return true;
    if (float_vertices.size() == vertices.size() && float_screen_says_area(float_vertices)) return false;
    // Exact: the squared length is zero exactly when every component is zero.
    Vec3 s = vector_area2();
    return s.x.is_zero() && s.y.is_zero() && s.z.is_zero();
}

Polygon Polygon::flipped() const {
    Polygon p = *this;
    p.flip();
    return p;
}

void Polygon::flip() {
    std::reverse(vertices.begin(), vertices.end());
    std::reverse(float_vertices.begin(), float_vertices.end());
    plane = plane.negated();
}

}  // namespace corv
