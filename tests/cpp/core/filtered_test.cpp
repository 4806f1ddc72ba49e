#include "core/filtered.h"

#include <gtest/gtest.h>

#include <latch>
#include <random>
#include <thread>

#include "core/exact_double.h"
#include "core/polygon.h"
#include "support/support.h"

namespace corv {
namespace {

using filtered::Double3;

Rational pow2(int k) {
    Rational r = 1, base = k < 0 ? Rational(1) / Rational(2) : Rational(2);
    for (int e = k < 0 ? -k : k; e > 0; e >>= 1) {
        if ((e & 1) != 0) r *= base;
        base *= base;
    }
    return r;
}

Rational pow10(int k) {
    Rational r = 1;
    for (int i = 0; i < k; ++i) r *= 10;
    return r;
}

// Rationals of every scale the screens meet: zero, small, huge (some beyond
// the doubles' range), tiny (subnormal and below), 1e-300 scaled, exact
// doubles and values just off a double, and long fractions.
struct Numbers {
    std::mt19937_64 rng;
    const Rational ten300 = pow10(300);

    explicit Numbers(std::uint64_t seed) : rng(seed) {}

    std::int64_t small(std::int64_t n) {
        return static_cast<std::int64_t>(rng() % static_cast<std::uint64_t>(2 * n + 1)) - n;
    }
    Rational mantissa() { return Rational(static_cast<std::int64_t>(rng() >> 11) - (std::int64_t(1) << 52)); }

    Rational of_kind(int kind) {
        switch (kind) {
            case 0: return 0;
            case 1: return small(20);
            case 2: return Rational(small(1000)) / Rational(1 + small(50) + 50);
            case 3: return mantissa() * pow2(950 + static_cast<int>(rng() % 150));   // huge, may be past 2^1024
            case 4: return mantissa() / pow2(1000 + static_cast<int>(rng() % 150));  // subnormal or below
            case 5: return Rational(small(1000000)) / ten300;
            case 6: return from_double(std::ldexp(static_cast<double>(small(1 << 30)), static_cast<int>(small(60))));
            case 7:
                return from_double(static_cast<double>(small(1 << 30))) +
                       Rational(1) / pow2(40 + static_cast<int>(rng() % 40));
            default: return mantissa() * mantissa() / (mantissa() * mantissa() + 1);
        }
    }
    int kind() { return static_cast<int>(rng() % 9); }
    // A few units of rounding (u = 2^-53) of a magnitude, either sign: the
    // distance at which a screen's bound decides.
    Rational ulps(double magnitude) {
        if (!std::isfinite(magnitude) || magnitude == 0) return 0;
        return from_double(std::ldexp(magnitude, -53)) * Rational(small(64)) / Rational(8);
    }
    // Mostly one scale for a whole sample, sometimes a mix.
    Vec3 vec(int k) {
        if (rng() % 4 == 0) return {of_kind(kind()), of_kind(kind()), of_kind(kind())};
        return {of_kind(k), of_kind(k), of_kind(k)};
    }
};

Double3 doubles(const Vec3& p) { return {p.x.to_double(), p.y.to_double(), p.z.to_double()}; }
Double3 abs3(const Double3& a) { return {std::fabs(a[0]), std::fabs(a[1]), std::fabs(a[2])}; }

TEST(Filtered, DotSignNeverContradictsTheExactSign) {
    Numbers num(20261208);
    int settled = 0;
    const int rounds = 20000;
    for (int i = 0; i < rounds; ++i) {
        const int k = num.kind();
        const Vec3 n = num.vec(k), x = num.vec(k);
        Rational w;
        const Double3 dn = doubles(n), dx = doubles(x);
        const double sum = (dn[0] * dx[0] + dn[1] * dx[1]) + dn[2] * dx[2];
        const double mag = std::fabs(dn[0] * dx[0]) + std::fabs(dn[1] * dx[1]) + std::fabs(dn[2] * dx[2]);
        switch (num.rng() % 5) {
            case 0: w = dot(n, x); break;  // exactly on the plane
            case 1: w = dot(n, x) + num.of_kind(4); break;
            case 2: w = dot(n, x) - num.of_kind(num.kind()); break;
            // Where the doubles put the plane, give or take a few roundings.
            case 3: w = std::isfinite(sum) ? from_double(sum) + num.ulps(mag) : dot(n, x); break;
            default: w = num.of_kind(k);
        }
        const int exact = (dot(n, x) - w).sign();
        const int s = filtered::dot_sign(doubles(n), doubles(x), w.to_double());
        if (s != 0) {
            ++settled;
            ASSERT_EQ(s, exact) << "n " << point_text(n) << " x " << point_text(x) << " w " << w.text();
        }
    }
    EXPECT_GT(settled, rounds / 10);  // the screen does settle ordinary cases
}

TEST(Filtered, BoxScreenAndPointSideNeverContradictTheExactSide) {
    Numbers num(7);
    int whole = 0, points = 0;
    for (int i = 0; i < 6000; ++i) {
        const int k = num.kind();
        const Vec3 n = num.vec(k);
        const Vec3 o = num.vec(k);
        // A few points near o (offsets of another scale), and the plane's
        // offset from one of them.
        std::vector<Vec3> set{o};
        const int more = static_cast<int>(num.rng() % 5);
        for (int j = 0; j < more; ++j) set.push_back(add(o, num.vec(num.kind())));
        const Rational on = dot(n, set[num.rng() % set.size()]);
        const double on_mag = std::fabs(on.to_double()) + norm1(n).to_double() * norm1(o).to_double();
        const Rational w = num.rng() % 3 == 0 ? num.of_kind(k) : on + num.ulps(on_mag);
        // The box as the screen's callers compute it from the doubles.
        Double3 lo = doubles(set[0]), hi = lo;
        for (const Vec3& p : set) {
            const Double3 f = doubles(p);
            for (std::size_t a = 0; a < 3; ++a) {
                lo[a] = std::min(lo[a], f[a]);
                hi[a] = std::max(hi[a], f[a]);
            }
        }
        Double3 c, h, m;
        for (std::size_t a = 0; a < 3; ++a) {
            c[a] = 0.5 * (lo[a] + hi[a]);
            h[a] = 0.5 * (hi[a] - lo[a]);
            m[a] = std::max(std::fabs(lo[a]), std::fabs(hi[a]));
        }
        const Double3 fn = doubles(n);
        const double fw = w.to_double();
        const filtered::BoxScreen screen = filtered::box_screen(fn, abs3(fn), fw, c, h, m);
        whole += screen.whole != 0 ? 1 : 0;
        for (const Vec3& p : set) {
            const int exact = (dot(n, p) - w).sign();
            if (screen.whole != 0) {
                ASSERT_EQ(screen.whole, exact)
                    << "n " << point_text(n) << " p " << point_text(p) << " w " << w.text() << std::hexfloat << "\nfn "
                    << fn[0] << " " << fn[1] << " " << fn[2] << " fw " << fw << "\nc " << c[0] << " " << c[1] << " "
                    << c[2] << "\nh " << h[0] << " " << h[1] << " " << h[2] << "\nm " << m[0] << " " << m[1] << " "
                    << m[2] << " set " << set.size() << " slack " << screen.slack;
            }
            const int s = filtered::point_side(fn, fw, doubles(p), screen.slack);
            if (s != 0) {
                ++points;
                ASSERT_EQ(s, exact) << "n " << point_text(n) << " p " << point_text(p) << " w " << w.text();
            }
        }
    }
    EXPECT_GT(whole, 100);
    EXPECT_GT(points, 100);
}

TEST(Filtered, Orient2dNeverContradictsTheExactSign) {
    Numbers num(99);
    int settled = 0;
    const int rounds = 20000;
    for (int i = 0; i < rounds; ++i) {
        const int k = num.kind();
        const Vec3 a = num.vec(k), b = num.vec(k);
        Vec3 c = num.vec(k);
        if (num.rng() % 2 == 0) {
            // On the line through a and b, exactly.
            const Rational t = num.of_kind(num.rng() % 3 == 0 ? num.kind() : 2);
            c = add(a, smul(t, sub(b, a)));
            // Or a few roundings off that line.
            if (num.rng() % 2 == 0) {
                const double m = std::max({norm1(a).to_double(), norm1(b).to_double(), norm1(c).to_double()});
                c.y += num.ulps(m);
            }
        }
        const int exact = ((b.x - a.x) * (c.y - a.y) - (b.y - a.y) * (c.x - a.x)).sign();
        const int s = filtered::orient2d_sign(a.x.to_double(), a.y.to_double(), b.x.to_double(), b.y.to_double(),
                                              c.x.to_double(), c.y.to_double());
        if (s != 0) {
            ++settled;
            ASSERT_EQ(s, exact) << point_text(a) << " | " << point_text(b) << " | " << point_text(c);
        }
    }
    EXPECT_GT(settled, rounds / 10);
}

Vec3 area2_exact(const std::vector<Vec3>& loop) {
    Vec3 s{0, 0, 0};
    for (std::size_t i = 1; i + 1 < loop.size(); ++i)
        s = add(s, cross(sub(loop[i], loop[0]), sub(loop[i + 1], loop[0])));
    return s;
}

bool floats_say_area(const std::vector<Vec3>& loop) {
    std::vector<Double3> f;
    for (const Vec3& p : loop) f.push_back(doubles(p));
    return filtered::floats_prove_area(f.size(), [&](std::size_t k) -> const Double3& { return f[k]; });
}

TEST(Filtered, FloatsNeverProveAreaOfALoopWithoutArea) {
    Numbers num(1234);
    // Loops without area though not all on a line: folded back on themselves
    // or a bow tie, in the plane of two random directions.
    const std::vector<std::vector<std::pair<int, int>>> flat_shapes{
        {{0, 0}, {1, 0}, {0, 1}, {1, 0}}, {{0, 0}, {2, 2}, {2, 0}, {0, 2}}, {{0, 0}, {3, 1}, {0, 0}, {3, 1}}};
    int proven = 0;
    for (int i = 0; i < 6000; ++i) {
        const int k = num.kind();
        const Vec3 o = num.vec(k), d = num.vec(num.rng() % 2 == 0 ? k : num.kind());
        std::vector<Vec3> loop;
        if (num.rng() % 3 != 0) {
            const std::size_t n = 3 + num.rng() % 6;
            for (std::size_t j = 0; j < n; ++j)
                loop.push_back(add(o, smul(num.of_kind(j % 2 == 0 ? 1 : num.kind()), d)));
        } else {
            const Vec3 e = num.vec(num.kind());
            for (auto [x, y] : flat_shapes[num.rng() % flat_shapes.size()]) {
                loop.push_back(add(o, add(smul(x, d), smul(y, e))));
            }
        }
        ASSERT_EQ(area2_exact(loop), (Vec3{0, 0, 0}));
        ASSERT_FALSE(floats_say_area(loop)) << point_text(o) << " + t " << point_text(d);

        // A triangle with area at the same scale: proven at least sometimes.
        const std::vector<Vec3> tri{o, add(o, d), add(o, num.vec(k))};
        if (floats_say_area(tri)) {
            ++proven;
            EXPECT_FALSE(area2_exact(tri) == (Vec3{0, 0, 0}));
        }
    }
    EXPECT_GT(proven, 400);
}

TEST(Filtered, EachThreadCountsItsOwnFallbacks) {
    // Collinear corners: the area screen cannot prove area, so the first
    // test of each new polygon goes exact and is counted on the thread that
    // made it (a polygon remembers the answer, and so do its copies).
    auto line = [] { return Polygon::with_plane({{0, 0, 0}, {1, 1, 1}, {2, 2, 2}}, Plane{}, "line"); };
    const filtered::Fallbacks main_before = filtered::fallbacks();
    std::latch start(2);
    std::uint64_t counts[2] = {0, 0};
    auto work = [&](int which, int times) {
        filtered::fallbacks() = {};
        start.arrive_and_wait();
        for (int i = 0; i < times; ++i) {
            const Polygon p = line();
            const Polygon copy = p;
            EXPECT_TRUE(p.is_degenerate());
            EXPECT_TRUE(copy.is_degenerate());  // remembered: not counted again
        }
        counts[which] = filtered::fallbacks().area;
    };
    std::thread a(work, 0, 300), b(work, 1, 500);
    a.join();
    b.join();
    EXPECT_EQ(counts[0], 300u);
    EXPECT_EQ(counts[1], 500u);
    EXPECT_EQ(filtered::fallbacks().area, main_before.area);
    EXPECT_EQ(filtered::fallbacks().side, main_before.side);
}

}  // namespace
}  // namespace corv
