#include "core/plane.h"

#include <cstdint>
#include <optional>

#include "core/machine_int.h"

namespace corv {

Plane Plane::from_points(const Vec3& a, const Vec3& b, const Vec3& c) {
    Vec3 n = cross(sub(b, a), sub(c, a));
    Rational w = dot(n, a);
    return {std::move(n), std::move(w)};
}

namespace {

using i128 = __int128;

// The sign of n.p - w in 128-bit integers, when every value involved is a
// small fraction: each term ni*pi = Ni/Di (and -w = -Nw/Dw) is brought to
// the common denominator, the product of all Di. A term's bits are at most
// bits(Ni) + the bits of the other denominators; when that is at most 124
// for every term, each is below 2^124 in magnitude and the sum of at most
// four below 2^126, so nothing overflows and the sign is exact. Otherwise
// (or for big values) nothing is returned and the caller uses Rationals.
std::optional<int> small_side(const Vec3& normal, const Vec3& p, const Rational& offset) {
    i128 num[4];
    i128 den[4];
    int num_bits[4];
    int den_bits[4];
    int k = 0;
    for (std::size_t i = 0; i < 3; ++i) {
        if (normal[i].is_zero()) continue;  // adds nothing
        const auto a = normal[i].small_parts();
        const auto b = p[i].small_parts();
        if (!a || !b) return std::nullopt;
        num[k] = i128(a->first) * b->first;
        den[k] = i128(a->second) * b->second;
        num_bits[k] = bit_length(a->first) + bit_length(b->first);
        den_bits[k] = bit_length(a->second) + bit_length(b->second);
        ++k;
    }
    const auto w = offset.small_parts();
    if (!w) return std::nullopt;
    num[k] = -i128(w->first);
    den[k] = w->second;
    num_bits[k] = bit_length(w->first);
    den_bits[k] = bit_length(w->second);
    ++k;
    int all_den_bits = 0;
    for (int t = 0; t < k; ++t) all_den_bits += den_bits[t];
    for (int t = 0; t < k; ++t) {
        if (num_bits[t] + all_den_bits - den_bits[t] > 124) return std::nullopt;
    }
    i128 sum = 0;
    for (int t = 0; t < k; ++t) {
        i128 term = num[t];
        for (int u = 0; u < k; ++u) {
            if (u != t) term *= den[u];
        }
        sum += term;
    }
    return sum > 0 ? 1 : (sum < 0 ? -1 : 0);
}

}  // namespace

int Plane::side(const Vec3& p) const {
    if (const auto s = small_side(normal, p, offset)) return *s;
    // Terms whose normal component is zero add nothing: planes along the
    // axes (most of a machined part's) then cost one product.
    Rational s;
    for (std::size_t i = 0; i < 3; ++i) {
        const Rational& n = normal[i];
        if (!n.is_zero()) s = s.is_zero() ? n * p[i] : s + n * p[i];
    }
    auto c = s <=> offset;
    return c < 0 ? -1 : (c > 0 ? 1 : 0);
}

}  // namespace corv
