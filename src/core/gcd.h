// Greatest common divisors of machine integers, for the exact small paths
// that keep values in 64 and 128 bits.
#pragma once

#include <cstdint>

namespace corv {

// gcd(a, 0) = a; gcd(0, 0) = 0.
std::uint64_t gcd64(std::uint64_t a, std::uint64_t b);
unsigned __int128 gcd128(unsigned __int128 a, unsigned __int128 b);

}  // namespace corv
