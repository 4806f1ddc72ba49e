#include "rs_entry/number_text.h"
#include "rs_entry/solid_entry.h"

#include <gtest/gtest.h>

#include "support/support.h"

#include <random>

#include "builders/outline_gen.h"
#include "core/measures.h"
#include "core/panic.h"

namespace corv {
namespace {

using rs_entry::make_prism;
using rs_entry::make_prismatoid;
using rs_entry::parse_r;
using rs_entry::Texts;

using test::labels;

Texts flat(const std::vector<Point2>& loop) {
    Texts out;
    for (const Point2& p : loop) {
        out.push_back(p.x.text());
        out.push_back(p.y.text());
    }
    return out;
}

Vec3 v3(std::int64_t x, std::int64_t y, std::int64_t z) { return {Rational(x), Rational(y), Rational(z)}; }

const Texts kSquare{"0", "0", "1", "0", "1", "1", "0", "1"};
const Texts kSquareClockwise{"0", "0", "0", "1", "1", "1", "1", "0"};

TEST(MakePrism, UnitSquareFacesInOrder) {
    Solid s = make_prism(kSquare, "1", "p");
    std::vector<std::string> want{"p.bottom", "p.top", "p.bottom", "p.top", "p.side0", "p.side1", "p.side2", "p.side3"};
    EXPECT_EQ(labels(s), want);
    EXPECT_EQ(volume6(s.polygons), Rational(6));
    // First cap triangle ((0,1), (0,0), (1,0)): the bottom is wound backwards.
    EXPECT_EQ(s.polygons[0].vertices(), (std::vector<Vec3>{v3(0, 1, 0), v3(1, 0, 0), v3(0, 0, 0)}));
    EXPECT_EQ(s.polygons[1].vertices(), (std::vector<Vec3>{v3(0, 1, 1), v3(0, 0, 1), v3(1, 0, 1)}));
    EXPECT_EQ(s.polygons[4].vertices(), (std::vector<Vec3>{v3(0, 0, 0), v3(1, 0, 0), v3(1, 0, 1), v3(0, 0, 1)}));
    EXPECT_EQ(s.polygons[0].plane.normal.z.sign(), -1);
    EXPECT_EQ(s.polygons[1].plane.normal.z.sign(), 1);
    EXPECT_EQ(s.polygons[4].plane.normal.y.sign(), -1);
}

TEST(MakePrism, ClockwiseOutlineIsReversedFirst) {
    Solid s = make_prism(kSquareClockwise, "1", "p");
    EXPECT_EQ(s.polygons.size(), 8u);
    EXPECT_EQ(volume6(s.polygons), Rational(6));
    // Reversed: (1,0), (1,1), (0,1), (0,0); the first side runs (1,0) -> (1,1).
    EXPECT_EQ(s.polygons[4].label, "p.side0");
    EXPECT_EQ(s.polygons[4].vertices(), (std::vector<Vec3>{v3(1, 0, 0), v3(1, 1, 0), v3(1, 1, 1), v3(1, 0, 1)}));
}

TEST(MakePrism, ReadsPairsOnly) {
    Texts nine = kSquare;
    nine.push_back("not a number");
    EXPECT_EQ(make_prism(nine, "1", "p").polygons.size(), 8u);
    Texts bad = kSquare;
    bad[7] = "1.0";
    EXPECT_PANIC_KIND(make_prism(bad, "1", "p"), corv::PanicKind::parse);
    EXPECT_PANIC_KIND(make_prism(kSquare, "1/0", "p"), corv::PanicKind::zero_denominator);
}

TEST(MakePrism, FlatAndDegenerateOutlines) {
    // h = 0: the sides vanish, the caps stay, coincident and opposite.
    Solid flat0 = make_prism(kSquare, "0", "p");
    EXPECT_EQ(labels(flat0), (std::vector<std::string>{"p.bottom", "p.top", "p.bottom", "p.top"}));
    EXPECT_EQ(volume6(flat0.polygons), Rational(0));
    // Two points: no cap, two opposite coincident sides.
    Solid two = make_prism({"0", "0", "3", "0"}, "2", "q");
    EXPECT_EQ(labels(two), (std::vector<std::string>{"q.side0", "q.side1"}));
    EXPECT_EQ(two.polygons[0].plane.normal, neg(two.polygons[1].plane.normal));
    EXPECT_TRUE(make_prism({}, "1", "e").polygons.empty());
    // Negative height turns the solid inside out.
    EXPECT_EQ(volume6(make_prism(kSquare, "-1", "p").polygons), Rational(-6));
}

TEST(MakePrism, VolumeOfRandomSimpleOutlines) {
    std::mt19937 rng(99);
    const Rational h = parse_r("3/2");
    for (int round = 0; round < 200; ++round) {
        std::vector<Point2> loop = round % 2 == 0 ? testing_outlines::skyline(rng, 1 + round % 10)
                                                  : testing_outlines::star(rng, 1 + round % 5);
        if (round % 3 == 0) std::reverse(loop.begin(), loop.end());  // clockwise input
        Rational area2 = abs(loop_area2(loop));
        Solid s = make_prism(flat(loop), "3/2", "p");
        ASSERT_EQ(volume6(s.polygons), Rational(3) * h * area2) << "round " << round;
    }
}

TEST(MakePrismatoid, SquareToSquare) {
    Solid s = make_prismatoid(kSquare, "0", kSquare, "1", "p");
    std::vector<std::string> want{"p.bottom", "p.bottom", "p.top",   "p.top",   "p.side0", "p.side0",
                                  "p.side1",  "p.side1",  "p.side2", "p.side2", "p.side3", "p.side3"};
    EXPECT_EQ(labels(s), want);
    EXPECT_EQ(volume6(s.polygons), Rational(6));
    // Side 0 splits along the diagonal from B0 to T1.
    EXPECT_EQ(s.polygons[4].vertices(), (std::vector<Vec3>{v3(0, 0, 0), v3(1, 0, 0), v3(1, 0, 1)}));
    EXPECT_EQ(s.polygons[5].vertices(), (std::vector<Vec3>{v3(0, 0, 0), v3(1, 0, 1), v3(0, 0, 1)}));
}

TEST(MakePrismatoid, ClockwiseBottomReversesBoth) {
    // A frustum from the clockwise square [0,2]^2 to the clockwise square [0,1]^2 at z = 3.
    Texts bottom{"0", "0", "0", "2", "2", "2", "2", "0"};
    Solid s = make_prismatoid(bottom, "0", kSquareClockwise, "3", "f");
    EXPECT_EQ(volume6(s.polygons), Rational(6) * (Rational(4) + Rational(2) + Rational(1)));
}

TEST(MakePrismatoid, TopShorterThanBottomFails) {
    Texts triangle{"0", "0", "1", "0", "0", "1"};
    EXPECT_PANIC_KIND(make_prismatoid(kSquare, "0", triangle, "1", "p"), corv::PanicKind::bad_shape);
    // A longer top adds its extra points to the top cap only.
    Texts pentagon{"0", "0", "1", "0", "1", "1", "0", "1", "-1", "1/2"};
    Solid s = make_prismatoid(kSquare, "0", pentagon, "1", "p");
    EXPECT_EQ(s.polygons.size(), 2u + 3u + 8u);
}

}  // namespace
}  // namespace corv
