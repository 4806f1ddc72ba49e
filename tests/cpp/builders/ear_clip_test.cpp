#include "builders/ear_clip.h"

#include <gtest/gtest.h>

#include <random>

#include "core/filtered.h"
#include "outline_gen.h"
#include "rs_entry/number_text.h"

namespace corv {
namespace {

using rs_entry::parse_r;

using testing_outlines::pt;

Triangle2 tri(Point2 a, Point2 b, Point2 c) { return {a, b, c}; }

int orient(const Point2& a, const Point2& b, const Point2& c) {
    return ((b.x - a.x) * (c.y - a.y) - (b.y - a.y) * (c.x - a.x)).sign();
}

Rational tri_area2(const Triangle2& t) { return (t.b.x - t.a.x) * (t.c.y - t.a.y) - (t.b.y - t.a.y) * (t.c.x - t.a.x); }

// The plain search, written out directly: every corner from the first,
// every other point tested, restart after each cut.
std::vector<Triangle2> reference_clip(std::vector<Point2> w) {
    std::vector<Triangle2> out;
    while (w.size() > 3) {
        const std::size_t n = w.size();
        bool cut = false;
        for (std::size_t i = 0; i < n && !cut; ++i) {
            std::size_t prev = (i + n - 1) % n, next = (i + 1) % n;
            const Point2 &a = w[prev], &b = w[i], &c = w[next];
            if (orient(a, b, c) <= 0) continue;
            bool blocked = false;
            for (std::size_t j = 0; j < n && !blocked; ++j) {
                if (j == prev || j == i || j == next) continue;
                const Point2& p = w[j];
                bool inside = orient(a, b, p) > 0 && orient(b, c, p) > 0 && orient(c, a, p) > 0;
                bool on_closing = orient(c, a, p) == 0 && std::min(c.x, a.x) <= p.x && p.x <= std::max(c.x, a.x) &&
                                  std::min(c.y, a.y) <= p.y && p.y <= std::max(c.y, a.y) && !(p == a) && !(p == c);
                blocked = inside || on_closing;
            }
            if (blocked) continue;
            out.push_back({a, b, c});
            w.erase(w.begin() + static_cast<long>(i));
            cut = true;
        }
        if (!cut) return out;
    }
    if (w.size() == 3) out.push_back({w[0], w[1], w[2]});
    return out;
}

TEST(LoopArea2, SignFollowsWinding) {
    std::vector<Point2> square{pt(0, 0), pt(1, 0), pt(1, 1), pt(0, 1)};
    EXPECT_EQ(loop_area2(square), Rational(2));
    EXPECT_EQ(loop_area2({square.rbegin(), square.rend()}), Rational(-2));
    EXPECT_EQ(loop_area2({}), Rational(0));
    EXPECT_EQ(loop_area2({pt(3, 4)}), Rational(0));
    std::vector<Point2> half{{parse_r("1/2"), Rational(0)}, {Rational(0), parse_r("1/3")}, {Rational(0), Rational(0)}};
    EXPECT_EQ(loop_area2(half), parse_r("1/6"));
}

TEST(EarClip, DocumentedOrders) {
    // The reflex corner (1,1) lies on the closing segment of the first
    // corner's ear, which therefore is not cut.
    std::vector<Point2> ell{pt(0, 0), pt(2, 0), pt(2, 1), pt(1, 1), pt(1, 2), pt(0, 2)};
    std::vector<Triangle2> want_ell{tri(pt(0, 0), pt(2, 0), pt(2, 1)), tri(pt(0, 0), pt(2, 1), pt(1, 1)),
                                    tri(pt(0, 2), pt(0, 0), pt(1, 1)), tri(pt(1, 1), pt(1, 2), pt(0, 2))};
    EXPECT_EQ(ear_clip(ell), want_ell);

    std::vector<Point2> corner{pt(0, 0), pt(1, 0), pt(2, 0), pt(2, 2), pt(0, 2)};
    std::vector<Triangle2> want_corner{tri(pt(0, 2), pt(0, 0), pt(1, 0)), tri(pt(0, 2), pt(1, 0), pt(2, 0)),
                                       tri(pt(2, 0), pt(2, 2), pt(0, 2))};
    EXPECT_EQ(ear_clip(corner), want_corner);

    std::vector<Point2> square{pt(0, 0), pt(1, 0), pt(1, 1), pt(0, 1)};
    std::vector<Triangle2> want_square{tri(pt(0, 1), pt(0, 0), pt(1, 0)), tri(pt(1, 0), pt(1, 1), pt(0, 1))};
    EXPECT_EQ(ear_clip(square), want_square);
}

TEST(EarClip, ClockwiseAndShortOutlines) {
    EXPECT_TRUE(ear_clip({pt(0, 0), pt(0, 1), pt(1, 1), pt(1, 0)}).empty());
    // Three points are one triangle as given, whatever their turn.
    std::vector<Triangle2> cw{tri(pt(0, 0), pt(0, 1), pt(1, 0))};
    EXPECT_EQ(ear_clip({pt(0, 0), pt(0, 1), pt(1, 0)}), cw);
    std::vector<Triangle2> flat{tri(pt(0, 0), pt(1, 0), pt(2, 0))};
    EXPECT_EQ(ear_clip({pt(0, 0), pt(1, 0), pt(2, 0)}), flat);
    EXPECT_TRUE(ear_clip({}).empty());
    EXPECT_TRUE(ear_clip({pt(0, 0), pt(1, 1)}).empty());
    // A figure eight: the ears found before the search stalls are kept.
    std::vector<Point2> eight{pt(0, 0), pt(2, 2), pt(2, 0), pt(0, 2)};
    EXPECT_EQ(ear_clip(eight), reference_clip(eight));
}

TEST(EarClip, DuplicatePointsAreExcludedByIndexOnly) {
    // The corner (0,0) appears twice; the copy never blocks an ear.
    std::vector<Point2> loop{pt(0, 0), pt(2, 0), pt(2, 2), pt(0, 0), pt(0, 2), pt(-1, 1)};
    EXPECT_EQ(ear_clip(loop), reference_clip(loop));
    EXPECT_FALSE(ear_clip(loop).empty());
}

// The cached search must give exactly the plain search's triangles, in
// order, for any input at all, simple or not.
TEST(EarClip, SameOrderAsPlainSearch) {
    std::mt19937 rng(12345);
    for (int round = 0; round < 3000; ++round) {
        int count = 3 + round % 12;
        std::vector<Point2> pts = testing_outlines::random_points(rng, count, round % 3 == 0 ? 2 : 6);
        ASSERT_EQ(ear_clip(pts), reference_clip(pts)) << "round " << round;
    }
    for (int round = 0; round < 300; ++round) {
        std::vector<Point2> sky = testing_outlines::skyline(rng, 1 + round % 9);
        ASSERT_EQ(ear_clip(sky), reference_clip(sky)) << "skyline round " << round;
        std::vector<Point2> st = testing_outlines::star(rng, 1 + round % 5);
        ASSERT_EQ(ear_clip(st), reference_clip(st)) << "star round " << round;
    }
}

// Coordinates too large for machine integers take the rational path; a
// positive scale keeps every turn and betweenness, so the same triangles
// come out, scaled.
TEST(EarClip, LargeCoordinatesGiveTheSameTriangles) {
    const Rational scale = parse_r("100000000000000000000000000007/3486784401");
    const Rational shift = parse_r("1/7");
    auto big = [&](const Point2& p) { return Point2{p.x * scale + shift, p.y * scale - shift}; };
    std::mt19937 rng(777);
    for (int round = 0; round < 400; ++round) {
        std::vector<Point2> pts = round % 2 == 0 ? testing_outlines::random_points(rng, 4 + round % 8, 4)
                                                 : testing_outlines::skyline(rng, 1 + round % 6);
        std::vector<Point2> scaled;
        for (const Point2& p : pts) scaled.push_back(big(p));
        std::vector<Triangle2> want;
        for (const Triangle2& t : ear_clip(pts)) want.push_back({big(t.a), big(t.b), big(t.c)});
        ASSERT_EQ(ear_clip(scaled), want) << "round " << round;
    }
}

// Far from the origin the doubles cannot tell the turns apart (near 2^55
// they even get them wrong), so the orientations are settled exactly; a
// translation keeps all turns.
TEST(EarClip, FarFromTheOriginGivesTheSameTriangles) {
    std::mt19937 rng(31337);
    for (int round = 0; round < 400; ++round) {
        const Rational far =
            parse_r(round % 2 == 0 ? "1000000000000000000000000000000/3" : "36028905105355024891905/1000003");
        auto moved = [&](const Point2& p) { return Point2{p.x + far, p.y - far}; };
        std::vector<Point2> pts = round % 4 < 2 ? testing_outlines::random_points(rng, 4 + round % 8, 5)
                                                : testing_outlines::star(rng, 1 + round % 4);
        std::vector<Point2> shifted;
        for (const Point2& p : pts) shifted.push_back(moved(p));
        std::vector<Triangle2> want;
        for (const Triangle2& t : ear_clip(pts)) want.push_back({moved(t.a), moved(t.b), moved(t.c)});
        ASSERT_EQ(ear_clip(shifted), want) << "round " << round;
    }
}

// The rational path counts the orientations its double screen leaves to
// exact arithmetic: none for clear turns, some for corners on a line or
// far from the origin; the triangles are those of the integer path.
TEST(EarClip, OrientationsLeftToExactArithmeticAreCounted) {
    const Rational scale = parse_r("100000000000000000000000000007/3486784401");
    auto fallbacks_of = [](const std::vector<Point2>& outline, const std::vector<Point2>& small) {
        filtered::fallbacks() = {};
        const std::vector<Triangle2> t = ear_clip(outline);
        EXPECT_EQ(t.size(), ear_clip(small).size());
        return filtered::fallbacks().orient;
    };
    auto scaled = [&](const std::vector<Point2>& pts, const Rational& shift) {
        std::vector<Point2> out;
        for (const Point2& p : pts) out.push_back({p.x * scale + shift, p.y * scale});
        return out;
    };
    const std::vector<Point2> square{{0, 0}, {2, 0}, {2, 2}, {0, 2}};
    // The first corner is straight: its turn is tested first.
    const std::vector<Point2> with_midpoints{{1, 0}, {2, 0}, {2, 1}, {2, 2}, {1, 2}, {0, 2}, {0, 1}, {0, 0}};
    EXPECT_EQ(fallbacks_of(scaled(square, 0), square), 0u);
    EXPECT_GT(fallbacks_of(scaled(with_midpoints, 0), with_midpoints), 0u);
    // Far from the origin, the differences vanish against the magnitudes.
    EXPECT_GT(fallbacks_of(scaled(square, scale * scale * scale), square), 0u);
    filtered::fallbacks() = {};
}

// On simple counter-clockwise outlines the caps are true triangulations:
// every triangle turns left and together they cover the outline's area.
TEST(EarClip, SimpleOutlinesAreTriangulated) {
    std::mt19937 rng(4242);
    for (int round = 0; round < 600; ++round) {
        std::vector<Point2> loop = round % 2 == 0 ? testing_outlines::skyline(rng, 1 + round % 12)
                                                  : testing_outlines::star(rng, 1 + round % 6);
        std::vector<Triangle2> tris = ear_clip(loop);
        Rational sum;
        for (const Triangle2& t : tris) {
            ASSERT_GT(tri_area2(t).sign(), 0) << "round " << round;
            sum += tri_area2(t);
        }
        ASSERT_EQ(sum, loop_area2(loop)) << "round " << round;
    }
}

}  // namespace
}  // namespace corv
