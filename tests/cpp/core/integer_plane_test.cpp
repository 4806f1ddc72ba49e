#include "core/integer_plane.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <random>

namespace corv {
namespace {

// The crossing point in Rationals, one reduced operation at a time.
Vec3 reference_crossing(const Plane& plane, const Vec3& vi, const Vec3& vj) {
    const Vec3 d = sub(vj, vi);
    const Rational t = (plane.offset - dot(plane.normal, vi)) / dot(plane.normal, d);
    Vec3 p;
    for (std::size_t k = 0; k < 3; ++k) p[k] = vi[k] + t * d[k];
    return p;
}

Rational fraction(std::mt19937_64& rng, int num_bits, int den_bits) {
    const auto n =
        static_cast<std::int64_t>(rng() % (std::uint64_t(1) << num_bits)) - (std::int64_t(1) << (num_bits - 1));
    const auto d = static_cast<std::int64_t>(rng() % (std::uint64_t(1) << den_bits)) + 1;
    return Rational(n) / Rational(d);
}

// Random fractions of one size: numerators of 2 to 2 + num_spread bits,
// denominators of 1 to den_spread bits.
struct RandomPoints {
    std::mt19937_64& rng;
    int num_bits, den_bits;
    RandomPoints(std::mt19937_64& r, int num_spread, int den_spread)
        : rng(r),
          num_bits(2 + static_cast<int>(r() % static_cast<std::uint64_t>(num_spread))),
          den_bits(1 + static_cast<int>(r() % static_cast<std::uint64_t>(den_spread))) {}
    Rational value() { return fraction(rng, num_bits, den_bits); }
    Vec3 point() { return Vec3{value(), value(), value()}; }
};

// Planes through random points and edges across them, at sizes from a few
// bits (the integer path) to past 64 bits (where it must give way or agree),
// with coordinates the two ends share and planes along the axes.
TEST(SmallCrossing, AgreesWithRationalsOrGivesWay) {
    std::mt19937_64 rng(17);
    int fast = 0, tried = 0;
    for (int round = 0; round < 6000; ++round) {
        RandomPoints random(rng, 40, 24);
        Plane plane = Plane::from_points(random.point(), random.point(), random.point());
        if (round % 5 == 0) plane = Plane{{Rational(0), Rational(0), random.value()}, random.value()};
        Vec3 vi = random.point(), vj = random.point();
        if (round % 3 == 0) vj.z = vi.z;
        if (round % 7 == 0) vj.x = vi.x;
        if (plane.side(vi) * plane.side(vj) >= 0) continue;
        ++tried;
        const std::optional<Vec3> p = small_edge_intersection(plane, vi, vj);
        // Coordinates of a few bits always fit the integer path.
        if (random.num_bits <= 12 && random.den_bits <= 6) {
            ASSERT_TRUE(p) << round;
        }
        if (!p) continue;
        ++fast;
        ASSERT_EQ(*p, reference_crossing(plane, vi, vj)) << round;
        ASSERT_EQ(plane.side(*p), 0);
    }
    EXPECT_GT(tried, 2000);
    EXPECT_GT(fast, tried / 5);
    EXPECT_LT(fast, tried);  // large values give way
}

// Sides of points on, in front of and behind planes through random points,
// at sizes from a few bits to past 64: the integer answer, when there is
// one, is the plane's own.
TEST(IntegerPlane, SidesAgreeWithRationalsOrGiveWay) {
    std::mt19937_64 rng(29);
    Rational big = 1;
    for (int i = 0; i < 64; ++i) big *= 2;
    int answered = 0, asked = 0;
    for (int round = 0; round < 4000; ++round) {
        RandomPoints random(rng, 44, 26);
        const Vec3 a = random.point(), b = random.point(), c = random.point();
        const Plane plane = Plane::from_points(a, b, c);
        const std::optional<IntegerPlane> form = integer_plane(plane);
        if (!form) continue;
        // On the plane (its own corners and their midpoint), and anywhere.
        const Vec3 mid{(a.x + b.x).halved(), (a.y + b.y).halved(), (a.z + b.z).halved()};
        for (const Vec3& p : {a, b, c, mid, random.point(), Vec3{big, Rational(1), mid.z}}) {
            ++asked;
            const std::optional<int> s = integer_side(*form, p);
            if (!s) continue;
            ++answered;
            ASSERT_EQ(*s, plane.side(p)) << round;
        }
    }
    EXPECT_GT(answered, asked / 4);
    EXPECT_LT(answered, asked);  // the point past 2^64 gives way
    EXPECT_FALSE(integer_plane(Plane{{big, Rational(0), Rational(0)}, Rational(1)}));
}

TEST(SmallCrossing, BigValuesGiveWay) {
    Rational big = 1;
    for (int i = 0; i < 70; ++i) big *= 2;
    const Plane plane{{Rational(1), Rational(0), Rational(0)}, big};
    EXPECT_FALSE(small_edge_intersection(plane, {0, 0, 0}, {big * 2, 1, 1}));
    const Plane small_plane{{Rational(1), Rational(1), Rational(0)}, Rational(1)};
    const std::optional<Vec3> p = small_edge_intersection(small_plane, {0, 0, 5}, {2, 0, 5});
    ASSERT_TRUE(p);
    EXPECT_EQ(*p, (Vec3{1, 0, 5}));
}

TEST(PrimitivePlane, SmallestIntegersFacingTheSameWayWithTheSamePoints) {
    // (2/3, -4/9, 0) . p = 10/27 is 18 x - 12 y = 10, that is 9 x - 6 y = 5.
    const Plane plane{{Rational(2, 3), Rational(-4, 9), Rational(0)}, Rational(10, 27)};
    const Plane p = primitive_plane(plane);
    EXPECT_EQ(p.normal, (Vec3{9, -6, 0}));
    EXPECT_EQ(p.offset, Rational(5));
    const Plane flipped = primitive_plane(Plane{smul(Rational(-7, 2), plane.normal), plane.offset * Rational(-7, 2)});
    EXPECT_EQ(flipped.normal, (Vec3{-9, 6, 0}));
    for (const Vec3& q : {Vec3{1, Rational(2, 3), 5}, Vec3{0, 0, 0}, Vec3{Rational(1, 3), 2, -1}}) {
        EXPECT_EQ(p.side(q), plane.side(q));
    }
    // Past 64 bits: reduced all the same.
    const Rational big = Rational(1, 3) * Rational::from_integer(Integer(1) * Integer(1 << 30) * Integer(1 << 30) * 64);
    const Plane wide = primitive_plane(Plane{{big, big * 2, Rational(0)}, big * 3});
    EXPECT_EQ(wide.normal, (Vec3{1, 2, 0}));
    EXPECT_EQ(wide.offset, Rational(3));
    // Machine-sized integers stay as they are; so does a zero plane.
    EXPECT_EQ(primitive_plane(Plane{{2, 4, 0}, Rational(6)}).normal, (Vec3{2, 4, 0}));
    EXPECT_EQ(primitive_plane(Plane{}).offset, Rational(0));
}

}  // namespace
}  // namespace corv
