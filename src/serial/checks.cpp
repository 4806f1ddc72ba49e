#include "serial/checks.h"

#include <cmath>
#include <numeric>

#include "core/guard.h"

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

// The same in GMP integers, for any values.
std::array<Integer, 4> common_big(const Rational* const* values, int count) {
    const Integer l = common_denominator(std::span(values, static_cast<std::size_t>(count)));
    std::array<Integer, 4> out{};
    for (int i = 0; i < count; ++i) {
        out[static_cast<std::size_t>(i)] = values[i]->numerator() * divexact(l, values[i]->denominator());
    }
    if (count == 3) out[3] = l;
    return out;
}

// values: count pointers per entry; a point's fourth part is the common
// denominator, a plane's is its offset.
void add_form(Forms& f, const Rational* const* values, int count) {
    std::int64_t s[4] = {0, 0, 0, 0}, l = 1;
    if (common(values, count, s, l)) {
        f.small.push_back(IntForm{s[0], s[1], s[2], count == 3 ? l : s[3]});
        f.slot.push_back(Forms::kSmall);
        return;
    }
    f.small.push_back(IntForm{0, 0, 0, 0});
    f.slot.push_back(static_cast<std::uint32_t>(f.big.size()));
    f.big.push_back(common_big(values, count));
}

// Entry i's form in GMP integers: the stored one, or the small one written
// into local.
const std::array<Integer, 4>& big_form(const Forms& f, std::size_t i, std::array<Integer, 4>& local) {
    if (f.slot[i] != Forms::kSmall) return f.big[f.slot[i]];
    const IntForm& s = f.small[i];
    local = {Integer(s.x), Integer(s.y), Integer(s.z), Integer(s.w)};
    return local;
}

}  // namespace

Forms point_forms(const std::vector<Vec3>& points) {
    Forms f;
    f.small.reserve(points.size());
    f.slot.reserve(points.size());
    for (const Vec3& p : points) {
        const Rational* values[3] = {&p.x, &p.y, &p.z};
        add_form(f, values, 3);
        guard::poll();
    }
    return f;
}

Forms plane_forms(const std::vector<Plane>& planes) {
    Forms f;
    f.small.reserve(planes.size());
    f.slot.reserve(planes.size());
    for (const Plane& p : planes) {
        const Rational* values[4] = {&p.normal.x, &p.normal.y, &p.normal.z, &p.offset};
        add_form(f, values, 4);
        guard::poll();
    }
    return f;
}

bool on_plane(const Forms& planes, std::size_t k, const Forms& points, std::size_t i) {
    if (planes.slot[k] == Forms::kSmall && points.slot[i] == Forms::kSmall) {
        // n . (X/W) = offset with n = (a, b, c)/L, offset = d/L and W, L > 0
        // is a X + b Y + c Z - d W = 0: four products below 2^124 each, so
        // the sum stays below 2^126.
        const IntForm& a = planes.small[k];
        const IntForm& q = points.small[i];
        i128 s = static_cast<i128>(a.x) * q.x + static_cast<i128>(a.y) * q.y + static_cast<i128>(a.z) * q.z -
                 static_cast<i128>(a.w) * q.w;
        return s == 0;
    }
    std::array<Integer, 4> local_a, local_q;
    const std::array<Integer, 4>& a = big_form(planes, k, local_a);
    const std::array<Integer, 4>& q = big_form(points, i, local_q);
    return a[0] * q[0] + a[1] * q[1] + a[2] * q[2] == a[3] * q[3];
}

int volume_sign(const Stored& s, const std::vector<Vec3>& points, const std::vector<Float3>& floats) {
    // Six times the volume is the sum of det(a, b, c) over each loop's fan
    // from its first corner. Each double is within 2^-53 of its exact value,
    // relatively; each det's products and sums add a few rounding units of
    // the magnitude of its six triple products, and the running sum one unit
    // per term: (terms + 16) * 2^-50 times the sum of all magnitudes covers
    // it, and the absolute term covers underflow.
    double sum = 0, magnitude = 0, terms = 0;
    for (const StoredPolygon& p : s.polygons) {
        const Float3& a = floats[s.corners[p.first]];
        for (std::size_t j = 1; j + 1 < p.count; ++j) {
            const Float3& b = floats[s.corners[p.first + j]];
            const Float3& c = floats[s.corners[p.first + j + 1]];
            sum += a[0] * (b[1] * c[2] - b[2] * c[1]) + a[1] * (b[2] * c[0] - b[0] * c[2]) +
                   a[2] * (b[0] * c[1] - b[1] * c[0]);
            magnitude += std::fabs(a[0]) * (std::fabs(b[1] * c[2]) + std::fabs(b[2] * c[1])) +
                         std::fabs(a[1]) * (std::fabs(b[2] * c[0]) + std::fabs(b[0] * c[2])) +
                         std::fabs(a[2]) * (std::fabs(b[0] * c[1]) + std::fabs(b[1] * c[0]));
            terms += 1;
        }
    }
    const double bound = magnitude * (terms + 16) * 0x1p-50 + 1e-290;
    if (std::isfinite(sum) && std::isfinite(bound) && std::fabs(sum) > bound) return sum > 0 ? 1 : -1;
    Rational exact;
    for (const StoredPolygon& p : s.polygons) {
        const Vec3& a = points[s.corners[p.first]];
        for (std::size_t j = 1; j + 1 < p.count; ++j) {
            exact += dot(a, cross(points[s.corners[p.first + j]], points[s.corners[p.first + j + 1]]));
        }
        guard::poll(static_cast<std::int64_t>(p.count));
    }
    return exact.sign();
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

}  // namespace corv
