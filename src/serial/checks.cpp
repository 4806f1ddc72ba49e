#include "serial/checks.h"

#include <cmath>
#include <cstdlib>
#include <numeric>
#include <vector>

namespace corv {
namespace {

using i128 = __int128;
constexpr std::int64_t kLimit = std::int64_t{1} << 62;

bool small(i128 v) { return v < kLimit && v > -kLimit; }

// The values brought to their least common denominator l: scaled[i] =
// values[i] * l. False when a part or l reaches 2^62.
bool common(const Rational* const* values, int count, std::int64_t* scaled, std::int64_t& l_out) {
    std::int64_t n[4], d[4];
    for (int i = 0; i < count; ++i) {
        auto parts = values[i]->small_parts();
        if (!parts) return false;
        n[i] = parts->first;
        d[i] = parts->second;
    }
    i128 l = 1;
    for (int i = 0; i < count; ++i) {
        std::int64_t li = static_cast<std::int64_t>(l);
        l = static_cast<i128>(li / std::gcd(li, d[i])) * d[i];
        if (!small(l)) return false;
    }
    for (int i = 0; i < count; ++i) {
        i128 v = static_cast<i128>(n[i]) * static_cast<std::int64_t>(l / d[i]);
        if (!small(v)) return false;
        scaled[i] = static_cast<std::int64_t>(v);
    }
    l_out = static_cast<std::int64_t>(l);
    return true;
}

}  // namespace

std::optional<IntForm> int_form(const Vec3& p) {
    const Rational* values[3] = {&p.x, &p.y, &p.z};
    std::int64_t s[3], l = 1;
    if (!common(values, 3, s, l)) return std::nullopt;
    return IntForm{s[0], s[1], s[2], l};
}

std::optional<IntForm> int_form(const Plane& plane) {
    const Rational* values[4] = {&plane.normal.x, &plane.normal.y, &plane.normal.z, &plane.offset};
    std::int64_t s[4], l = 1;
    if (!common(values, 4, s, l)) return std::nullopt;
    return IntForm{s[0], s[1], s[2], s[3]};
}

bool on_plane(const Plane& plane, const std::optional<IntForm>& plane_form, const Vec3& p,
              const std::optional<IntForm>& point_form) {
    if (plane_form && point_form) {
        // n . (X/W) = offset with n = (a, b, c)/L, offset = d/L and W, L > 0
        // is a X + b Y + c Z - d W = 0: four products below 2^124 each, so
        // the sum stays below 2^126.
        const IntForm& a = *plane_form;
        const IntForm& q = *point_form;
        i128 s = static_cast<i128>(a.x) * q.x + static_cast<i128>(a.y) * q.y + static_cast<i128>(a.z) * q.z -
                 static_cast<i128>(a.w) * q.w;
        return s == 0;
    }
    return plane.side(p) == 0;
}

std::size_t dominant_axis(const Plane& plane) {
    const Vec3& n = plane.normal;
    std::size_t k = 0;
    double best = -1;
    for (std::size_t i = 0; i < 3; ++i) {
        double m = std::fabs(n[i].to_double());
        if (!n[i].is_zero() && m > best) {
            best = m;
            k = i;
        }
    }
    return k;
}

bool turns_with_plane(const Polygon& poly, std::size_t k) {
    // The loop's vector area is a positive multiple of the normal exactly
    // when its component k (the area of the loop projected along axis k)
    // has the sign of n[k] (which is not zero).
    const int want = poly.plane.normal[k].sign();
    if (want == 0) return false;
    const std::size_t u = (k + 1) % 3, v = (k + 2) % 3;
    const std::vector<Float3>& f = poly.float_vertices();
    const std::size_t count = poly.vertices().size();
    if (f.size() == count) {
        // Screen, with the bound of the degeneracy screen in polygon.cpp:
        // inputs rounded once (2^-53 relative), differences and products
        // within a few units of 2^-53 of the magnitudes A*B, one rounding
        // per accumulation; (n + 16) * 2^-50 * sum(A*B) covers it, and the
        // absolute term covers underflow.
        double s = 0, mag = 0;
        const Float3& o = f[0];
        for (std::size_t i = 1; i + 1 < count; ++i) {
            const Float3& p = f[i];
            const Float3& q = f[i + 1];
            s += (p[u] - o[u]) * (q[v] - o[v]) - (p[v] - o[v]) * (q[u] - o[u]);
            double au = std::fabs(p[u]) + std::fabs(o[u]), av = std::fabs(p[v]) + std::fabs(o[v]);
            double bu = std::fabs(q[u]) + std::fabs(o[u]), bv = std::fabs(q[v]) + std::fabs(o[v]);
            mag += au * bv + av * bu;
        }
        double bound = mag * (static_cast<double>(count) + 16.0) * 0x1p-50 + 1e-290;
        if (std::isfinite(s) && std::isfinite(bound) && std::fabs(s) > bound) return (s > 0 ? 1 : -1) == want;
    }
    Rational s;
    const Vec3& o = poly.vertices()[0];
    for (std::size_t i = 1; i + 1 < count; ++i) {
        const Vec3& p = poly.vertices()[i];
        const Vec3& q = poly.vertices()[i + 1];
        s += (p[u] - o[u]) * (q[v] - o[v]) - (p[v] - o[v]) * (q[u] - o[u]);
    }
    return s.sign() == want;
}

}  // namespace corv
