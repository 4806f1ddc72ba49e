#include "serial/loop_shape.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <vector>

namespace corv {
namespace {

using P2 = std::array<std::int64_t, 2>;

int orient(const P2& a, const P2& b, const P2& c) {
    const std::int64_t d = (b[0] - a[0]) * (c[1] - a[1]) - (b[1] - a[1]) * (c[0] - a[0]);
    return (d > 0) - (d < 0);
}

bool on(const P2& c, const P2& a, const P2& b) {
    return orient(a, b, c) == 0 && std::min(a, b) <= c && c <= std::max(a, b);
}

// By brute force: no side folding back onto the next, no two other sides
// meeting, and an area of the sign of facing.
bool simple_by_brute_force(const std::vector<P2>& q, int facing) {
    const std::size_t n = q.size();
    std::int64_t area = 0;
    for (std::size_t i = 0; i < n; ++i) {
        const P2 &a = q[i], &b = q[(i + 1) % n], &c = q[(i + 2) % n];
        area += a[0] * b[1] - a[1] * b[0];
        if (on(c, a, b) || on(a, b, c)) return false;
        for (std::size_t j = i + 2; j < n && (j + 1) % n != i; ++j) {
            const P2 &d = q[j], &e = q[(j + 1) % n];
            if ((orient(a, b, d) * orient(a, b, e) < 0 && orient(d, e, a) * orient(d, e, b) < 0) || on(d, a, b) ||
                on(e, a, b) || on(a, d, e) || on(b, d, e)) {
                return false;
            }
        }
    }
    return area * facing > 0;
}

// loop_fault's verdict on the points placed in the plane across `axis`.
bool simple(const std::vector<P2>& q, std::size_t axis = 2, int facing = 1) {
    std::vector<Vec3> points;
    std::vector<Float3> floats;
    std::vector<std::uint32_t> corners;
    for (const P2& p : q) {
        Vec3 v{0, 0, 0};
        v[(axis + 1) % 3] = Rational(p[0]);
        v[(axis + 2) % 3] = Rational(p[1]);
        points.push_back(v);
        floats.push_back(to_f3(v));
        corners.push_back(static_cast<std::uint32_t>(corners.size()));
    }
    return !loop_fault(LoopView{corners, points, floats, axis, facing});
}

TEST(LoopShape, AgreesWithBruteForceOnSmallGridLoops) {
    std::uint64_t state = 7;
    auto next = [&state](std::uint64_t n) {
        state = state * 6364136223846793005ULL + 1442695040888963407ULL;
        return static_cast<std::int64_t>((state >> 33) % n);
    };
    int simple_loops = 0;
    for (int round = 0; round < 30000; ++round) {
        std::vector<P2> q;  // distinct points of a small grid: many lines, touches and folds
        for (std::size_t n = 3 + static_cast<std::size_t>(next(7)); q.size() < n;) {
            const P2 p{next(4), next(4)};
            if (std::find(q.begin(), q.end(), p) == q.end()) q.push_back(p);
        }
        const int facing = next(2) == 0 ? 1 : -1;
        const bool expected = simple_by_brute_force(q, facing);
        ASSERT_EQ(simple(q, static_cast<std::size_t>(next(3)), facing), expected) << "round " << round;
        simple_loops += expected;
    }
    EXPECT_GT(simple_loops, 2000);
    EXPECT_LT(simple_loops, 28000);
}

}  // namespace
}  // namespace corv
