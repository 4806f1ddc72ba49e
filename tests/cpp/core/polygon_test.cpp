#include "core/polygon.h"

#include <gtest/gtest.h>

#include <thread>
#include <vector>

#include "support/support.h"

#include "core/panic.h"
#include "core/solid.h"
#include "rs_entry/number_text.h"

using corv::Polygon;
using corv::Rational;
using corv::Solid;
using corv::Vec3;
using corv::rs_entry::parse_r;
using corv::test::shares_loop;

namespace {

Vec3 v(const char* x, const char* y, const char* z) { return {parse_r(x), parse_r(y), parse_r(z)}; }

}  // namespace

TEST(Polygon, MakeComputesPlaneAndFloatCopies) {
    Polygon p = Polygon::make({v("0", "0", "0"), v("1", "0", "0"), v("1", "1", "0"), v("0", "1", "0")}, "sq");
    EXPECT_EQ(p.plane.normal, v("0", "0", "1"));
    EXPECT_TRUE(p.plane.offset.is_zero());
    ASSERT_EQ(p.float_vertices().size(), 4u);
    EXPECT_EQ(p.float_vertices()[2][0], 1.0);
    EXPECT_EQ(p.area2(), Rational(4));
    EXPECT_PANIC_KIND(Polygon::make({v("0", "0", "0"), v("1", "0", "0")}, "x"), corv::PanicKind::too_few_vertices);
}

TEST(Polygon, CollinearTriangleIsDegenerateButTinyTriangleIsNot) {
    Polygon flat = Polygon::make({v("0", "0", "0"), v("1", "1", "1"), v("2", "2", "2")}, "t");
    EXPECT_TRUE(flat.is_degenerate());
    std::string tiny = "1/1000000000000000";  // 1e-15: area 5e-31, far below the float screen
    Polygon small = Polygon::make({v("0", "0", "0"), v(tiny.c_str(), "0", "0"), v("0", tiny.c_str(), "0")}, "t");
    EXPECT_FALSE(small.is_degenerate());
    Polygon repeated = Polygon::make({v("1", "2", "3"), v("1", "2", "3"), v("1", "2", "3")}, "t");
    EXPECT_TRUE(repeated.is_degenerate());
}

// The float fan sum of an exactly flat polygon with huge coordinates is
// dominated by rounding error; the screen must not take it for area.
TEST(Polygon, FlatPolygonNearTwoToTheEightyIsDegenerate) {
    // m = 2^80 + 3 * 2^26: the cap outline (0,0), (3,1), (3m,m) is a line.
    std::string m = "1208925819614629375950848";  // 2^80 + 3*2^26
    Rational mm = parse_r(m);
    Vec3 a{0, 0, 0}, b{3, 1, 0}, c{Rational(3) * mm, mm, 0};
    Polygon cap = Polygon::make({a, b, c}, "cap");
    EXPECT_TRUE(cap.area2().is_zero());
    EXPECT_TRUE(cap.is_degenerate());
    Polygon wall = Polygon::make({v("0", "0", "0"), v("1", "0", "0"), v("1", "0", "1")}, "wall");
    Solid s = Solid::make({cap, wall, cap.flipped()});
    ASSERT_EQ(s.polygons.size(), 1u);
    EXPECT_EQ(s.polygons[0].label, "wall");
    // Nearly flat but not flat: kept.
    Vec3 c2{Rational(3) * mm, mm + Rational(1), 0};
    EXPECT_FALSE(Polygon::make({a, b, c2}, "cap").is_degenerate());
}

TEST(Polygon, FlippedTwiceIsTheSamePolygon) {
    Polygon p = Polygon::make({v("0", "0", "0"), v("2", "0", "0"), v("2", "1/3", "5"), v("0", "1", "0")}, "f");
    Polygon f = p.flipped();
    EXPECT_EQ(f.vertices().front(), p.vertices().back());
    EXPECT_EQ(f.plane.normal, neg(p.plane.normal));
    EXPECT_EQ(f.plane.offset, -p.plane.offset);
    EXPECT_EQ(f.label, "f");
    Polygon ff = f.flipped();
    EXPECT_EQ(ff.vertices(), p.vertices());
    EXPECT_EQ(ff.float_vertices(), p.float_vertices());
    EXPECT_EQ(ff.plane, p.plane);
    EXPECT_EQ(ff.label, p.label);
}

// The double copies can only be set together with the loop, so every way of
// making or turning a polygon leaves them equal to to_f3 of the vertices.
TEST(Polygon, DoubleCopiesAlwaysMatchTheLoop) {
    auto agree = [](const Polygon& p) {
        if (p.float_vertices().size() != p.vertices().size()) return false;
        for (std::size_t i = 0; i < p.vertices().size(); ++i) {
            if (p.float_vertices()[i] != corv::to_f3(p.vertices()[i])) return false;
        }
        return true;
    };
    Polygon p = Polygon::make({v("1/3", "0", "0"), v("2", "1/7", "0"), v("2", "1/3", "5/11")}, "p");
    EXPECT_TRUE(agree(p));
    EXPECT_TRUE(agree(p.flipped()));
    p.flip();
    EXPECT_TRUE(agree(p));
    EXPECT_TRUE(agree(Polygon::with_plane(p.vertices(), p.plane, "q")));
    EXPECT_TRUE(agree(Solid::cube(Rational(1) / Rational(3), 2, 3, "c").polygons[4]));
#ifndef NDEBUG
    // Copies handed in from outside are checked where assertions are on.
    std::vector<corv::Float3> wrong = p.float_vertices();
    wrong[1][0] += 1.0;
    EXPECT_PANIC_KIND(Polygon::assemble(p.vertices(), wrong, p.plane, "w"), corv::PanicKind::invalid_argument);
    EXPECT_PANIC_KIND(Polygon::assemble(p.vertices(), {}, p.plane, "w"), corv::PanicKind::invalid_argument);
#endif
    EXPECT_TRUE(agree(Polygon::assemble(p.vertices(), p.float_vertices(), p.plane, "a")));
}

// Copies share one immutable loop; flipping a copy must never show through
// to the others (also not when threads flip their own copies at once), and
// what is remembered about the loop's area survives the flip.
TEST(Polygon, CopiesShareTheLoopAndFlipsStayPrivate) {
    const Polygon p = Polygon::make({v("0", "0", "0"), v("1", "0", "0"), v("1", "1", "0")}, "tri");
    Polygon q = p;
    EXPECT_TRUE(shares_loop(q, p));
    EXPECT_FALSE(p.known_to_have_area());
    EXPECT_FALSE(q.is_degenerate());  // remembered in the shared loop
    EXPECT_TRUE(p.known_to_have_area());
    q.flip();
    EXPECT_FALSE(shares_loop(q, p));
    EXPECT_EQ(p.vertices()[0], v("0", "0", "0"));
    EXPECT_EQ(q.vertices()[0], v("1", "1", "0"));
    EXPECT_EQ(q.float_vertices()[0][1], 1.0);
    EXPECT_TRUE(q.known_to_have_area());
    EXPECT_EQ(q.plane, p.plane.negated());
    EXPECT_EQ(q.float_low(), (corv::Float3{0.0, 0.0, 0.0}));  // a loop's bounds, whichever way it runs
    EXPECT_EQ(q.float_high(), (corv::Float3{1.0, 1.0, 0.0}));
    EXPECT_EQ(p.float_high(), q.float_high());
    // The only holder of a loop flips it in place, and twice is the original.
    q.flip();
    EXPECT_EQ(q.vertices(), p.vertices());
    EXPECT_EQ(q.float_vertices(), p.float_vertices());

    const Polygon line = Polygon::with_plane({v("0", "0", "0"), v("1", "1", "1"), v("2", "2", "2")}, {}, "line");
    EXPECT_TRUE(line.is_degenerate());
    EXPECT_TRUE(line.flipped().is_degenerate());
    EXPECT_FALSE(line.flipped().known_to_have_area());

    std::vector<std::thread> threads;
    for (int t = 0; t < 4; ++t) {
        threads.emplace_back([&p] {
            for (int i = 0; i < 2000; ++i) {
                Polygon mine = p;
                mine.flip();
                if (mine.vertices()[0] != v("1", "1", "0")) ADD_FAILURE();
            }
        });
    }
    for (std::thread& t : threads) t.join();
    EXPECT_EQ(p.vertices()[0], v("0", "0", "0"));
    Polygon moved = p;
    Polygon taken = std::move(moved);
    EXPECT_TRUE(moved.vertices().empty());  // NOLINT: reading a moved-from polygon is defined here
    EXPECT_EQ(taken.vertices().size(), 3u);
}

TEST(Plane, SideIsExactForHugeCoordinates) {
    corv::Plane pl = corv::Plane::from_points(v("0", "0", "0"), v("1", "0", "0"), v("0", "1", "0"));
    std::string e = "1" + std::string(300, '0');
    EXPECT_EQ(pl.side(v(e.c_str(), e.c_str(), "0")), 0);
    EXPECT_EQ(pl.side(v(e.c_str(), "0", ("1/" + e).c_str())), 1);
    EXPECT_EQ(pl.side(v("0", e.c_str(), ("-1/" + e).c_str())), -1);
    corv::Plane zero = corv::Plane::from_points(v("0", "0", "0"), v("1", "1", "1"), v("2", "2", "2"));
    EXPECT_EQ(zero.side(v("5", "6", "7")), 0);
}
