#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <random>

#include "core/split.h"
#include "rs_entry/number_text.h"

namespace corv {
namespace {

using rs_entry::parse_r;

Vec3 v(const char* x, const char* y, const char* z) { return {parse_r(x), parse_r(y), parse_r(z)}; }
Vec3 v(int x, int y, int z) { return {x, y, z}; }

Plane plane_of(Vec3 normal, const char* offset) { return {std::move(normal), parse_r(offset)}; }

Split cut(const Plane& pl, Polygon p) { return split(pl, float_plane(pl), std::move(p)); }

std::size_t count(const Split& s) {
    return s.coplanar_front.size() + s.coplanar_back.size() + s.front.size() + s.back.size();
}

Polygon unit_square() { return Polygon::make({v(0, 0, 0), v(1, 0, 0), v(1, 1, 0), v(0, 1, 0)}, "sq.face"); }

void expect_floats_match(const Polygon& p) {
    ASSERT_EQ(p.float_vertices().size(), p.vertices().size());
    for (std::size_t i = 0; i < p.vertices().size(); ++i) EXPECT_EQ(p.float_vertices()[i], to_f3(p.vertices()[i]));
}

TEST(Split, SpanningSquareGivesExactPiecesWithParentPlaneAndLabel) {
    Polygon sq = unit_square();
    const Plane parent = sq.plane;
    Split s = cut(plane_of(v(1, 0, 0), "1/3"), std::move(sq));
    ASSERT_EQ(s.front.size(), 1u);
    ASSERT_EQ(s.back.size(), 1u);
    EXPECT_TRUE(s.coplanar_front.empty() && s.coplanar_back.empty());
    const std::vector<Vec3> want_front{v("1/3", "0", "0"), v(1, 0, 0), v(1, 1, 0), v("1/3", "1", "0")};
    const std::vector<Vec3> want_back{v(0, 0, 0), v("1/3", "0", "0"), v("1/3", "1", "0"), v(0, 1, 0)};
    EXPECT_EQ(s.front[0].vertices(), want_front);
    EXPECT_EQ(s.back[0].vertices(), want_back);
    for (const Polygon* p : {&s.front[0], &s.back[0]}) {
        EXPECT_EQ(p->plane, parent);
        EXPECT_EQ(p->label, "sq.face");
        expect_floats_match(*p);
    }
}

TEST(Split, OnPlaneVerticesDoNotMakeAPolygonSpan) {
    // Two vertices on x = 0, two in front: wholly in front, untouched.
    Polygon sq = unit_square();
    Split s = cut(plane_of(v(1, 0, 0), "0"), unit_square());
    ASSERT_EQ(s.front.size(), 1u);
    EXPECT_EQ(count(s), 1u);
    EXPECT_EQ(s.front[0].vertices(), sq.vertices());
    // The same square seen from the other side of x = 1.
    Split t = cut(plane_of(v(1, 0, 0), "1"), unit_square());
    ASSERT_EQ(t.back.size(), 1u);
    EXPECT_EQ(count(t), 1u);

    // One vertex on the plane, the other two on opposite sides: two
    // triangles, each with the on-plane vertex and the crossing point.
    Polygon tri = Polygon::make({v(0, 0, 0), v(1, -1, 0), v(1, 1, 0)}, "t");
    Split u = cut(plane_of(v(0, 1, 0), "0"), std::move(tri));
    ASSERT_EQ(u.front.size(), 1u);
    ASSERT_EQ(u.back.size(), 1u);
    EXPECT_EQ(u.front[0].vertices(), (std::vector<Vec3>{v(0, 0, 0), v(1, 0, 0), v(1, 1, 0)}));
    EXPECT_EQ(u.back[0].vertices(), (std::vector<Vec3>{v(0, 0, 0), v(1, -1, 0), v(1, 0, 0)}));
}

TEST(Split, CoplanarPolygonsSortByFacing) {
    const Plane z0 = plane_of(v(0, 0, 5), "0");  // any positive multiple of +z
    Split same = cut(z0, unit_square());
    ASSERT_EQ(same.coplanar_front.size(), 1u);
    EXPECT_EQ(count(same), 1u);

    Split opposite = cut(z0, unit_square().flipped());
    ASSERT_EQ(opposite.coplanar_back.size(), 1u);
    EXPECT_EQ(count(opposite), 1u);

    // A zero normal has a zero dot product with anything: coplanar back.
    Polygon line = Polygon::make({v(0, 0, 0), v(1, 0, 0), v(2, 0, 0)}, "l");
    ASSERT_EQ(line.plane.normal, v(0, 0, 0));
    Split zero = cut(z0, std::move(line));
    ASSERT_EQ(zero.coplanar_back.size(), 1u);
    EXPECT_EQ(count(zero), 1u);

    // Every point is on the zero plane, so everything is coplanar with it.
    const Plane nothing = plane_of(v(0, 0, 0), "0");
    Split on_zero = cut(nothing, unit_square());
    EXPECT_EQ(on_zero.coplanar_back.size(), 1u);
    EXPECT_EQ(count(on_zero), 1u);
}

TEST(Split, PiecesWithoutAreaAreDropped) {
    // A collinear loop crossing the plane: both pieces have zero area.
    Polygon line = Polygon::make({v(0, 0, 0), v(2, 0, 0), v(1, 0, 0)}, "l");
    EXPECT_EQ(count(cut(plane_of(v(1, 0, 0), "1/2"), std::move(line))), 0u);

    // A square with a spike through y = 2: the part in front of y = 2 is
    // the spike alone, which has no area; the back part survives whole.
    Polygon spiky =
        Polygon::make({v(0, 0, 0), v(2, 0, 0), v(2, 2, 0), v(1, 2, 0), v(1, 3, 0), v(1, 2, 0), v(0, 2, 0)}, "s");
    Split s = cut(plane_of(v(0, 1, 0), "2"), std::move(spiky));
    EXPECT_TRUE(s.front.empty());
    ASSERT_EQ(s.back.size(), 1u);
    EXPECT_EQ(s.back[0].vertices().size(), 6u);
}

TEST(Split, HugeCoordinatesAreClassifiedExactly) {
    const std::string big = "1" + std::string(400, '0');  // 10^400: its double is infinite
    const std::string big_m1 = std::string(400, '9');     // 10^400 - 1
    auto at = [&](const std::string& x) {
        return Polygon::make(
            {v(x.c_str(), "0", "0"), v(x.c_str(), "1", "0"), v(x.c_str(), "1", "1"), v(x.c_str(), "0", "1")}, "far");
    };
    EXPECT_EQ(cut(plane_of(v(1, 0, 0), big_m1.c_str()), at(big)).front.size(), 1u);
    EXPECT_EQ(cut(plane_of(v(1, 0, 0), big.c_str()), at(big_m1)).back.size(), 1u);
    EXPECT_EQ(cut(plane_of(v(1, 0, 0), big.c_str()), at(big)).coplanar_front.size(), 1u);

    // A huge normal against small points, and a square reaching out to
    // 10^400 cut at 1: exact pieces.
    EXPECT_EQ(cut(plane_of(v(big.c_str(), "0", "0"), big.c_str()), unit_square()).back.size(), 1u);
    Polygon wide =
        Polygon::make({v("0", "0", "0"), v(big.c_str(), "0", "0"), v(big.c_str(), "1", "0"), v("0", "1", "0")}, "wide");
    Split s = cut(plane_of(v(1, 0, 0), "1"), std::move(wide));
    ASSERT_EQ(s.front.size(), 1u);
    ASSERT_EQ(s.back.size(), 1u);
    EXPECT_EQ(s.back[0].vertices()[1], v(1, 0, 0));
    EXPECT_EQ(s.front[0].vertices()[1], v(big.c_str(), "0", "0"));
    EXPECT_TRUE(std::isinf(s.front[0].float_vertices()[1][0]));
}

TEST(Split, ScreenNeverDisagreesWithTheExactSide) {
    // Points a hair away from the plane, where the doubles cannot tell.
    const Plane x1 = plane_of(v(1, 0, 0), "1");
    const FloatPlane fx1 = float_plane(x1);
    const Vec3 above = v("1000000000000000000000000000001/1000000000000000000000000000000", "0", "0");
    const Vec3 below = v("999999999999999999999999999999/1000000000000000000000000000000", "0", "0");
    EXPECT_EQ(screened_side(x1, fx1, above, to_f3(above)), 1);
    EXPECT_EQ(screened_side(x1, fx1, below, to_f3(below)), -1);
    EXPECT_EQ(screened_side(x1, fx1, v(1, 7, -3), to_f3(v(1, 7, -3))), 0);

    // A float plane without a value (NaN) hands every vertex to the exact test.
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const FloatPlane none{nan, nan, nan, nan};
    EXPECT_EQ(screened_side(x1, none, v(5, 0, 0), to_f3(v(5, 0, 0))), 1);
    EXPECT_EQ(screened_side(x1, none, v(-5, 0, 0), to_f3(v(-5, 0, 0))), -1);
    Split s = split(x1, none, unit_square());
    EXPECT_EQ(s.back.size(), 1u);

    // Random planes through random rational points, probed at and near the
    // plane: the screened side is always the exact side.
    std::mt19937_64 rng(7);
    std::uniform_int_distribution<std::int64_t> num(-1000000, 1000000), den(1, 1000);
    auto r = [&] { return Rational(num(rng)) / Rational(den(rng)); };
    for (int trial = 0; trial < 3000; ++trial) {
        Vec3 a{r(), r(), r()}, b{r(), r(), r()}, c{r(), r(), r()};
        Plane pl = Plane::from_points(a, b, c);
        FloatPlane fp = float_plane(pl);
        Rational wobble = Rational(num(rng) % 3) / Rational(std::int64_t(1) << 40);
        Vec3 p = add(add(a, smul(r(), sub(b, a))), smul(r(), sub(c, a)));
        p.z += wobble;
        ASSERT_EQ(screened_side(pl, fp, p, to_f3(p)), pl.side(p));
    }
}

TEST(Split, ManyVertexPolygonSplitsWithItsOwnSideBuffer) {
    // More vertices than the inline side buffer holds: a 200-gon in the
    // plane z = 0, cut through the middle.
    std::vector<Vec3> loop{v(0, 1, 0)};
    for (int i = 0; i < 100; ++i) loop.push_back(v(i, 0, 0));
    for (int i = 99; i >= 1; --i) loop.push_back(v(i, 1, 0));
    Polygon strip = Polygon::make(std::move(loop), "strip");
    Split s = cut(plane_of(v(1, 0, 0), "101/2"), std::move(strip));
    ASSERT_EQ(s.front.size(), 1u);
    ASSERT_EQ(s.back.size(), 1u);
    EXPECT_EQ(s.front[0].vertices().size(), 49u * 2 + 2);
    EXPECT_EQ(s.back[0].vertices().size(), 51u * 2 + 2);
}

}  // namespace
}  // namespace corv
