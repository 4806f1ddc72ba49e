#include "core/gcd.h"

namespace corv {
namespace {

using u128 = unsigned __int128;

int ctz128(u128 v) {
    const auto low = static_cast<std::uint64_t>(v);
    return low != 0 ? __builtin_ctzll(low) : 64 + __builtin_ctzll(static_cast<std::uint64_t>(v >> 64));
}

bool fits64(u128 v) { return (v >> 64) == 0; }

}  // namespace

// Binary gcd. The loop keeps a and b odd and replaces the larger by the
// odd part of their difference; written with min and a difference of known
// sign, it compiles to conditional moves, so its data-dependent choice
// costs no mispredicted branch.
std::uint64_t gcd64(std::uint64_t a, std::uint64_t b) {
    if (a == 0) return b;
    if (b == 0) return a;
    const int shift = __builtin_ctzll(a | b);
    a >>= __builtin_ctzll(a);
    b >>= __builtin_ctzll(b);
    while (a != b) {
        const std::uint64_t lo = a < b ? a : b;
        const std::uint64_t diff = (a < b ? b : a) - lo;  // even and non-zero
        a = lo;
        b = diff >> __builtin_ctzll(diff);
    }
    return a << shift;
}

// The same loop on 128 bits, handing over to gcd64 once both fit 64 bits.
u128 gcd128(u128 a, u128 b) {
    if (a == 0) return b;
    if (b == 0) return a;
    const int shift = ctz128(a | b);
    a >>= ctz128(a);
    b >>= ctz128(b);
    while (a != b) {
        if (fits64(a) && fits64(b)) {
            return u128(gcd64(static_cast<std::uint64_t>(a), static_cast<std::uint64_t>(b))) << shift;
        }
        const u128 lo = a < b ? a : b;
        const u128 diff = (a < b ? b : a) - lo;
        a = lo;
        b = diff >> ctz128(diff);
    }
    return a << shift;
}

}  // namespace corv
