#include "core/machine_int.h"

#include <cmath>

namespace corv {
namespace {

using u128 = unsigned __int128;

int ctz(std::uint64_t v) { return __builtin_ctzll(v); }

int ctz(u128 v) {
    const auto low = static_cast<std::uint64_t>(v);
    return low != 0 ? __builtin_ctzll(low) : 64 + __builtin_ctzll(static_cast<std::uint64_t>(v >> 64));
}

// Binary gcd. The loop keeps a and b odd and replaces the larger by the
// odd part of their difference; written with min and a difference of known
// sign, it compiles to conditional moves, so its data-dependent choice
// costs no mispredicted branch. On 128 bits it hands over to the 64-bit
// loop once both values fit.
template <class U>
U binary_gcd(U a, U b) {
    if (a == 0) return b;
    if (b == 0) return a;
    const int shift = ctz(a | b);
    a >>= ctz(a);
    b >>= ctz(b);
    while (a != b) {
        if constexpr (sizeof(U) > sizeof(std::uint64_t)) {
            if ((a >> 64) == 0 && (b >> 64) == 0) {
                return U(binary_gcd(static_cast<std::uint64_t>(a), static_cast<std::uint64_t>(b))) << shift;
            }
        }
        const U lo = a < b ? a : b;
        const U diff = (a < b ? b : a) - lo;  // even and non-zero
        a = lo;
        b = diff >> ctz(diff);
    }
    return a << shift;
}

}  // namespace

std::uint64_t gcd64(std::uint64_t a, std::uint64_t b) { return binary_gcd(a, b); }

u128 gcd128(u128 a, u128 b) { return binary_gcd(a, b); }

std::uint64_t isqrt128(u128 v) {
    // A long double keeps 64 bits of v, so its root is within one or two of
    // r; the loops settle it exactly (r + 1 < 2^63: no step overflows).
    auto r = static_cast<std::uint64_t>(std::sqrt(static_cast<long double>(v)));
    while (u128(r) * r > v) --r;
    while (u128(r + 1) * (r + 1) <= v) ++r;
    return r;
}

}  // namespace corv
