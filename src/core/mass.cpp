#include "core/mass.h"

#include <cmath>

#include "core/guard.h"

namespace corv {
namespace {

// Adds the moments of the tetrahedron (0, a, b, c), signed by its orientation.
void add_tetrahedron(Moments& m, const Vec3& a, const Vec3& b, const Vec3& c) {
    const Rational det = dot(a, cross(b, c));
    if (det.is_zero()) return;
    m.volume += det / Rational(6);
    const Vec3 sum = add(add(a, b), c);
    const Rational d24 = det / Rational(24);
    for (std::size_t i = 0; i < 3; ++i) m.first[i] += d24 * sum[i];
    const Rational d120 = det / Rational(120);
    constexpr std::array<std::array<std::size_t, 2>, 6> pairs{{{0, 0}, {1, 1}, {2, 2}, {0, 1}, {1, 2}, {2, 0}}};
    for (std::size_t k = 0; k < 6; ++k) {
        const auto [i, j] = pairs[k];
        m.second[k] += d120 * (a[i] * a[j] + b[i] * b[j] + c[i] * c[j] + sum[i] * sum[j]);
    }
}

}  // namespace

Moments moments(const Solid& s) {
    Moments m;
    for (const Polygon& p : s.polygons) {
        const auto& v = p.vertices();
        guard::poll(static_cast<std::int64_t>(v.size() * 4));
        for (std::size_t k = 1; k + 1 < v.size(); ++k) add_tetrahedron(m, v[0], v[k], v[k + 1]);
    }
    return m;
}

double surface_area(const Solid& s) {
    double total = 0;
    for (const Polygon& p : s.polygons) {
        const auto& v = p.vertices();
        guard::poll(static_cast<std::int64_t>(v.size()));
        Vec3 twice{};  // twice the vector area, by the fan from the first vertex
        for (std::size_t k = 1; k + 1 < v.size(); ++k) twice = add(twice, cross(sub(v[k], v[0]), sub(v[k + 1], v[0])));
        total += std::sqrt(dot(twice, twice).to_double()) / 2;
    }
    return total;
}

}  // namespace corv
