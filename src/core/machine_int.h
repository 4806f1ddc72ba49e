// Machine-integer helpers for the exact small paths that keep values in 64
// and 128 bits: greatest common divisors and bit lengths.
#pragma once

#include <cstdint>

namespace corv {

// gcd(a, 0) = a; gcd(0, 0) = 0.
std::uint64_t gcd64(std::uint64_t a, std::uint64_t b);
unsigned __int128 gcd128(unsigned __int128 a, unsigned __int128 b);

// The largest r with r * r <= v, for v below 2^126 (so r < 2^63).
std::uint64_t isqrt128(unsigned __int128 v);

// The bits of |v|: |v| < 2^bits (0 for 0).
inline int bit_length(std::int64_t v) {
    const std::uint64_t m = v < 0 ? std::uint64_t(0) - std::uint64_t(v) : std::uint64_t(v);
    return m != 0 ? 64 - __builtin_clzll(m) : 0;
}

inline int bit_length(__int128 v) {
    const unsigned __int128 m = v < 0 ? (unsigned __int128)0 - (unsigned __int128)v : (unsigned __int128)v;
    const auto hi = static_cast<std::uint64_t>(m >> 64);
    if (hi != 0) return 128 - __builtin_clzll(hi);
    const auto lo = static_cast<std::uint64_t>(m);
    return lo != 0 ? 64 - __builtin_clzll(lo) : 0;
}

}  // namespace corv
