#include "core/integer_plane.h"

#include <array>
#include <cstdint>

#include "core/integer.h"
#include "core/machine_int.h"
#include "core/small_fractions.h"

namespace corv {
namespace {

using i128 = __int128;

constexpr std::int64_t kMax62 = std::int64_t(1) << 62;

// One end of the edge: the lcm L of its coordinates' denominators, each
// coordinate times L (an integer), and S = L (N.v - W).
struct End {
    std::int64_t lcm = 1;
    i128 scaled_coordinate[3];
    i128 scaled_side = 0;
    int coordinate_bits = 0;  // of the largest of lcm and the scaled coordinates
};

bool read_end(const Vec3& v, const IntegerPlane& plane, End& e) {
    std::int64_t num[3], den[3];
    if (!read_small({&v.x, &v.y, &v.z}, num, den, e.lcm)) return false;
    e.coordinate_bits = bit_length(e.lcm);
    for (std::size_t k = 0; k < 3; ++k) {
        int b;
        if (den[k] == e.lcm) {
            e.scaled_coordinate[k] = num[k];
            b = bit_length(num[k]);
        } else {
            // Both factors below 2^63: the product fits 126 bits. (An
            // integer coordinate needs no division.)
            e.scaled_coordinate[k] = i128(num[k]) * (den[k] == 1 ? e.lcm : e.lcm / den[k]);
            b = bit_length(e.scaled_coordinate[k]);
        }
        if (b > e.coordinate_bits) e.coordinate_bits = b;
    }
    // Four products, each below 2^(plane.bits + coordinate_bits) <= 2^123,
    // so the sum stays below 2^125.
    if (plane.bits + e.coordinate_bits > 123) return false;
    i128 s = -i128(plane.offset) * e.lcm;
    for (std::size_t k = 0; k < 3; ++k) {
        if (plane.normal[k] != 0) s += i128(plane.normal[k]) * e.scaled_coordinate[k];
    }
    e.scaled_side = s;
    return true;
}

}  // namespace

std::optional<IntegerPlane> integer_plane(const Plane& plane) {
    std::int64_t num[4], den[4], m;
    if (!read_small({&plane.normal.x, &plane.normal.y, &plane.normal.z, &plane.offset}, num, den, m)) {
        return std::nullopt;
    }
    IntegerPlane out{};
    for (std::size_t k = 0; k < 4; ++k) {
        std::int64_t v;
        if (__builtin_mul_overflow(num[k], m / den[k], &v) || v >= kMax62 || v <= -kMax62) return std::nullopt;
        (k < 3 ? out.normal[k] : out.offset) = v;
        const int b = bit_length(v);
        if (b > out.bits) out.bits = b;
    }
    return out;
}

// With s = n.v - w at each end, the point is (s_j vi - s_i vj) / (s_j - s_i),
// and only the ratio s_i : s_j matters. Scaling the plane by the lcm m of
// its denominators gives integers N = m n, W = m w, and scaling each end by
// the lcm L of its coordinates' denominators gives integers
// S = L (N.v - W) = L m s. Multiplying numerator and denominator by
// m L_i L_j:
//   p_k = (S_j L_i vi_k - S_i L_j vj_k) / (S_j L_i - S_i L_j),
// where L_i vi_k and L_j vj_k are integers. Each coordinate is then one
// reduction instead of one per operation. A coordinate the two ends share
// is copied, as edge_intersection does.
//
// Sizes: each S is below 2^125 (read_end); each product of an S with a
// scaled coordinate or an lcm is checked, by bits, to stay below 2^125, so
// every difference below is below 2^126.
std::optional<Vec3> integer_crossing(const IntegerPlane& plane, const Vec3& vi, const Vec3& vj) {
    End a, b;
    if (!read_end(vi, plane, a) || !read_end(vj, plane, b)) return std::nullopt;
    if (bit_length(b.scaled_side) + a.coordinate_bits > 125 || bit_length(a.scaled_side) + b.coordinate_bits > 125) {
        return std::nullopt;
    }
    const i128 den = b.scaled_side * a.lcm - a.scaled_side * b.lcm;  // S_j L_i - S_i L_j
    if (den == 0) return std::nullopt;
    Vec3 p;
    for (std::size_t k = 0; k < 3; ++k) {
        if (vi[k] == vj[k]) {
            p[k] = vi[k];
            continue;
        }
        const i128 num = a.scaled_coordinate[k] * b.scaled_side - b.scaled_coordinate[k] * a.scaled_side;
        p[k] = Rational::from_ratio_i128(num, den);
    }
    return p;
}

// S = L m (n.p - w) with L, m > 0: the same sign.
//
// Most points have parts and an lcm below 2^31: each scaled coordinate is
// then below 2^62, each of the four products with the plane's values (below
// 2^62) below 2^124 and the sum below 2^126, so no size needs checking.
std::optional<int> integer_side(const IntegerPlane& plane, const Vec3& p) {
    std::int64_t scaled[3], lcm;
    if (read_scaled_31({&p.x, &p.y, &p.z}, scaled, lcm)) {
        i128 s = -i128(plane.offset) * lcm;
        for (std::size_t k = 0; k < 3; ++k) s += i128(plane.normal[k]) * scaled[k];
        return s > 0 ? 1 : (s < 0 ? -1 : 0);
    }
    End e;
    if (!read_end(p, plane, e)) return std::nullopt;
    return e.scaled_side > 0 ? 1 : (e.scaled_side < 0 ? -1 : 0);
}

std::optional<Vec3> small_edge_intersection(const Plane& plane, const Vec3& vi, const Vec3& vj) {
    const std::optional<IntegerPlane> ip = integer_plane(plane);
    if (!ip) return std::nullopt;
    return integer_crossing(*ip, vi, vj);
}

Plane primitive_plane(const Plane& plane) {
    const std::array<const Rational*, 4> q{&plane.normal.x, &plane.normal.y, &plane.normal.z, &plane.offset};
    // Machine-sized integers already (axis-aligned parts, planes of float
    // meshes): short enough as they are.
    bool small = true;
    for (const Rational* r : q) {
        const auto parts = r->small_parts();
        small = small && parts && parts->second == 1;
    }
    if (small) return plane;
    const Integer den = common_denominator(q);
    std::array<Integer, 4> n;
    Integer common(0);
    for (std::size_t i = 0; i < 4; ++i) {
        n[i] = q[i]->numerator() * divexact(den, q[i]->denominator());
        if (!n[i].is_zero()) common = common.is_zero() ? abs(n[i]) : gcd(common, n[i]);
    }
    if (common.is_zero()) return plane;
    Plane out;
    for (std::size_t i = 0; i < 3; ++i) out.normal[i] = Rational::from_integer(divexact(n[i], common));
    out.offset = Rational::from_integer(divexact(n[3], common));
    return out;
}

}  // namespace corv
