#include "serial/loop_shape.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <numeric>
#include <vector>

namespace corv {
namespace {

using P2 = std::array<std::int64_t, 2>;

std::int64_t orient(const P2& a, const P2& b, const P2& c) {
    const std::int64_t d = (b[0] - a[0]) * (c[1] - a[1]) - (b[1] - a[1]) * (c[0] - a[0]);
    return (d > 0) - (d < 0);
}

bool on_segment(const P2& p, const P2& a, const P2& b) {
    return orient(a, b, p) == 0 && std::min(a[0], b[0]) <= p[0] && p[0] <= std::max(a[0], b[0]) &&
           std::min(a[1], b[1]) <= p[1] && p[1] <= std::max(a[1], b[1]);
}

bool segments_meet(const P2& a, const P2& b, const P2& c, const P2& d) {
    if (orient(a, b, c) * orient(a, b, d) < 0 && orient(c, d, a) * orient(c, d, b) < 0) return true;
    return on_segment(c, a, b) || on_segment(d, a, b) || on_segment(a, c, d) || on_segment(b, c, d);
}

// The loop's verdict by brute force: no side folding back on the next, no
// two other sides meeting, positive area (facing +1) or negative (-1).
bool good_by_brute_force(const std::vector<P2>& q, int facing) {
    const std::size_t n = q.size();
    std::int64_t area = 0;
    for (std::size_t i = 0; i < n; ++i) {
        const P2 &a = q[i], &b = q[(i + 1) % n], &c = q[(i + 2) % n];
        area += a[0] * b[1] - a[1] * b[0];
        const std::int64_t dot = (b[0] - a[0]) * (c[0] - b[0]) + (b[1] - a[1]) * (c[1] - b[1]);
        if (orient(a, b, c) == 0 && dot < 0) return false;
        for (std::size_t j = i + 2; j < n; ++j) {
            if ((j + 1) % n == i) continue;
            if (segments_meet(a, b, q[j], q[(j + 1) % n])) return false;
        }
    }
    return area * facing > 0;
}

struct Loop {
    std::vector<Vec3> points;
    std::vector<Float3> floats;
    std::vector<std::uint32_t> corners;
};

// The 2-D points placed in the plane across `axis` (as its u and v).
Loop placed(const std::vector<P2>& q, std::size_t axis) {
    Loop l;
    for (const P2& p : q) {
        Vec3 v{0, 0, 0};
        v[(axis + 1) % 3] = Rational(p[0]);
        v[(axis + 2) % 3] = Rational(p[1]);
        l.points.push_back(v);
        l.floats.push_back(to_f3(v));
        l.corners.push_back(static_cast<std::uint32_t>(l.corners.size()));
    }
    return l;
}

std::optional<LoopFault> fault_of(const std::vector<P2>& q, std::size_t axis = 2, int facing = 1) {
    const Loop l = placed(q, axis);
    return loop_fault(LoopView{l.corners, l.points, l.floats, axis, facing});
}

TEST(LoopShape, AgreesWithBruteForceOnSmallGridLoops) {
    std::uint64_t state = 7;
    auto next = [&state](std::uint64_t n) {
        state = state * 6364136223846793005ULL + 1442695040888963407ULL;
        return static_cast<std::int64_t>((state >> 33) % n);
    };
    int good = 0, bad = 0;
    for (int round = 0; round < 30000; ++round) {
        const std::size_t n = 3 + static_cast<std::size_t>(next(7));
        std::vector<P2> q;
        while (q.size() < n) {  // distinct points of a small grid: many collinear and touching cases
            const P2 p{next(4), next(4)};
            if (std::find(q.begin(), q.end(), p) == q.end()) q.push_back(p);
        }
        const std::size_t axis = static_cast<std::size_t>(next(3));
        const int facing = next(2) == 0 ? 1 : -1;
        const bool expected = good_by_brute_force(q, facing);
        ASSERT_EQ(!fault_of(q, axis, facing).has_value(), expected) << "round " << round;
        (expected ? good : bad) += 1;
    }
    EXPECT_GT(good, 2000);
    EXPECT_GT(bad, 2000);
}

TEST(LoopShape, LongLoopsInLogLinearTime) {
    // A comb of 20,000 teeth (clockwise, so seen from below): not convex, so
    // the sweep decides.
    std::vector<P2> q{{0, 0}};
    const std::int64_t teeth = 20000;
    for (std::int64_t i = 0; i < teeth; ++i) {
        q.push_back({2 * i + 1, 0});
        q.push_back({2 * i + 1, 1000});
        q.push_back({2 * i + 2, 1000});
        q.push_back({2 * i + 2, 0});
    }
    q.push_back({2 * teeth + 1, 0});
    q.push_back({2 * teeth + 1, -1});
    q.push_back({0, -1});
    EXPECT_FALSE(fault_of(q, 2, -1));
    q[1 + 4 * (teeth / 2) + 2][0] += 4;  // one tooth's top now runs over its neighbours'
    EXPECT_TRUE(fault_of(q, 2, -1));
}

}  // namespace
}  // namespace corv
