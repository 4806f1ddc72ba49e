#include "core/machine_int.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <random>

namespace corv {
namespace {

using u128 = unsigned __int128;

TEST(Gcd, MatchesEuclidOn64And128Bits) {
    std::mt19937_64 rng(3);
    auto euclid = [](unsigned __int128 a, unsigned __int128 b) {
        while (b != 0) {
            const unsigned __int128 t = a % b;
            a = b;
            b = t;
        }
        return a;
    };
    for (int i = 0; i < 20000; ++i) {
        const std::uint64_t common = rng() % 1000 + 1;
        const std::uint64_t a = (rng() >> (rng() % 64)) * (i % 2 ? common : 1);
        const std::uint64_t b = (rng() >> (rng() % 64)) * (i % 3 ? common : 1);
        ASSERT_EQ(gcd64(a, b), static_cast<std::uint64_t>(euclid(a, b)));
        const unsigned __int128 wa = (static_cast<unsigned __int128>(rng() >> (rng() % 64)) << 50) + a;
        const unsigned __int128 wb = (static_cast<unsigned __int128>(rng() >> (rng() % 64)) << 50) + b;
        ASSERT_TRUE(gcd128(wa * common, wb * common) == euclid(wa * common, wb * common));
    }
    EXPECT_EQ(gcd64(0, 0), 0u);
    EXPECT_EQ(gcd64(0, 12), 12u);
    EXPECT_TRUE(gcd128(0, 12) == 12);
}

// Squares, their neighbours and random values up to 2^126, where the
// long double estimate is furthest from the root.
TEST(Isqrt, IsTheFloorOfTheRoot) {
    std::mt19937_64 rng(5);
    auto check = [](u128 v) {
        const std::uint64_t r = isqrt128(v);
        ASSERT_TRUE(u128(r) * r <= v);
        ASSERT_TRUE(u128(r + 1) * (r + 1) > v);
    };
    for (int i = 0; i < 20000; ++i) {
        const std::uint64_t root = (rng() >> 1) >> (rng() % 63);  // below 2^63
        const u128 square = u128(root) * root;
        check(square);
        check(square + 1);
        if (square > 0) check(square - 1);
        check(((u128(rng()) << 64) | rng()) >> (2 + rng() % 126));
    }
    EXPECT_EQ(isqrt128(0), 0u);
    EXPECT_EQ(isqrt128(1), 1u);
    EXPECT_EQ(isqrt128((u128(1) << 126) - 1), (std::uint64_t(1) << 63) - 1);
}

}  // namespace
}  // namespace corv
