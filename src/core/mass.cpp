#include "core/mass.h"

#include <cmath>
#include <map>
#include <vector>

#include "core/guard.h"
#include "core/integer.h"

namespace corv {
namespace {

// A polygon's vertices as integers over one common denominator, so that
// its tetrahedra's terms are sums of integer products.
struct Scaled {
    Integer den{1};
    std::vector<std::array<Integer, 3>> points;
};

Scaled scaled(const std::vector<Vec3>& v) {
    Scaled out;
    std::vector<const Rational*> coordinates;
    for (const Vec3& p : v) {
        for (std::size_t i = 0; i < 3; ++i) coordinates.push_back(&p[i]);
    }
    out.den = common_denominator(coordinates);
    out.points.reserve(v.size());
    for (const Vec3& p : v) {
        std::array<Integer, 3> q;
        for (std::size_t i = 0; i < 3; ++i) q[i] = p[i].numerator() * divexact(out.den, p[i].denominator());
        out.points.push_back(std::move(q));
    }
    return out;
}

// The polygon's moments over den^3 (volume), den^4 (first) and den^5
// (second), times 6, 24 and 120: the sums over the tetrahedra (0, v0, vk,
// vk+1) of its fan, each signed by its orientation.
struct Sums {
    Integer volume;
    std::array<Integer, 3> first;
    std::array<Integer, 6> second;
};

void add_tetrahedron(Sums& t, const std::array<Integer, 3>& a, const std::array<Integer, 3>& b,
                     const std::array<Integer, 3>& c) {
    const Integer det =
        a[0] * (b[1] * c[2] - b[2] * c[1]) + a[1] * (b[2] * c[0] - b[0] * c[2]) + a[2] * (b[0] * c[1] - b[1] * c[0]);
    if (det.is_zero()) return;
    t.volume = t.volume + det;
    const std::array<Integer, 3> sum{a[0] + b[0] + c[0], a[1] + b[1] + c[1], a[2] + b[2] + c[2]};
    for (std::size_t i = 0; i < 3; ++i) t.first[i] = t.first[i] + det * sum[i];
    constexpr std::array<std::array<std::size_t, 2>, 6> pairs{{{0, 0}, {1, 1}, {2, 2}, {0, 1}, {1, 2}, {2, 0}}};
    for (std::size_t k = 0; k < 6; ++k) {
        const auto [i, j] = pairs[k];
        t.second[k] = t.second[k] + det * (a[i] * a[j] + b[i] * b[j] + c[i] * c[j] + sum[i] * sum[j]);
    }
}

}  // namespace

Moments moments(const Solid& s) {
    // Polygons over the same denominator (copies of a part moved by whole
    // steps, the faces of one round shape) are summed in integers together.
    std::map<Integer, Sums> by_den;
    for (const Polygon& p : s.polygons) {
        const auto& v = p.vertices();
        guard::poll(static_cast<std::int64_t>(v.size() * 4));
        Scaled q = scaled(v);
        Sums& t = by_den[std::move(q.den)];
        for (std::size_t k = 1; k + 1 < v.size(); ++k) add_tetrahedron(t, q.points[0], q.points[k], q.points[k + 1]);
    }
    Moments m;
    for (const auto& [den, t] : by_den) {
        guard::poll(10);
        const Integer d3 = den * den * den, d4 = d3 * den, d5 = d4 * den;
        m.volume += Rational(t.volume, d3 * 6);
        for (std::size_t i = 0; i < 3; ++i) m.first[i] += Rational(t.first[i], d4 * 24);
        for (std::size_t k = 0; k < 6; ++k) m.second[k] += Rational(t.second[k], d5 * 120);
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
