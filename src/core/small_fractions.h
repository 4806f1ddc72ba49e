// Small fractions read together over the lcm of their denominators, for the
// exact machine-integer paths (integer planes and sides, unit normals).
#pragma once

#include <cstddef>
#include <cstdint>

#include "core/machine_int.h"
#include "core/rational.h"

namespace corv {

// acc = lcm(acc, den) for positive values, failing past 2^62. Equal
// denominators and integers, the common cases, need no division.
inline bool widen_lcm(std::int64_t& acc, std::int64_t den) {
    constexpr std::int64_t kMax62 = std::int64_t(1) << 62;
    if (den == acc || den == 1) return true;
    if (acc == 1) {
        acc = den;
        return den <= kMax62;
    }
    if (acc % den == 0) return true;
    const auto g = static_cast<std::int64_t>(gcd64(static_cast<std::uint64_t>(acc), static_cast<std::uint64_t>(den)));
    std::int64_t out;
    if (__builtin_mul_overflow(acc / g, den, &out) || out > kMax62) return false;
    acc = out;
    return true;
}

// The parts of N small values and the lcm of their denominators; false
// when a value is big or the lcm passes 2^62.
template <std::size_t N>
bool read_small(const Rational* const (&values)[N], std::int64_t (&num)[N], std::int64_t (&den)[N], std::int64_t& lcm) {
    lcm = 1;
    for (std::size_t k = 0; k < N; ++k) {
        const auto p = values[k]->small_parts();
        if (!p || !widen_lcm(lcm, p->second)) return false;
        num[k] = p->first;
        den[k] = p->second;
    }
    return true;
}

// The values times the lcm of their denominators, when every numerator and
// that lcm are below 2^31: each scaled value is then an integer below 2^62.
// False otherwise.
template <std::size_t N>
bool read_scaled_31(const Rational* const (&values)[N], std::int64_t (&scaled)[N], std::int64_t& lcm) {
    constexpr std::int64_t kSmall = std::int64_t(1) << 31;
    std::int64_t num[N], den[N];
    if (!read_small(values, num, den, lcm) || lcm >= kSmall) return false;
    for (std::size_t k = 0; k < N; ++k) {
        if (num[k] <= -kSmall || num[k] >= kSmall) return false;
        scaled[k] = num[k] * (den[k] == lcm ? 1 : (den[k] == 1 ? lcm : lcm / den[k]));
    }
    return true;
}

}  // namespace corv
