#include <gtest/gtest.h>

#include "support/support.h"

#include "canonical/canonical.h"
#include "canonical/line_position.h"
#include "core/panic.h"
#include "core/solid.h"
#include "rs_entry/number_text.h"

namespace corv {
namespace {

using rs_entry::parse_r;

Vec3 v(const char* x, const char* y, const char* z) { return {parse_r(x), parse_r(y), parse_r(z)}; }
Plane pl(const char* x, const char* y, const char* z, const char* w) { return {v(x, y, z), parse_r(w)}; }
std::string key_text(const Plane& p) { return plane_key_text(canonical_plane(p)); }
std::string coplanar_text(const Plane& p) { return plane_key_text(coplanar_key(p)); }
std::string dir_text(const std::optional<Vec3>& d) { return d ? point_text(*d) : "none"; }

TEST(CanonicalPlane, IgnoresScaleAndOrientation) {
    EXPECT_EQ(key_text(pl("0", "0", "-2", "-6")), "0,0,1,3");
    EXPECT_EQ(key_text(pl("0", "0", "1/2", "3/2")), "0,0,1,3");
    EXPECT_EQ(key_text(pl("-5", "0", "0", "0")), "1,0,0,0");
    EXPECT_EQ(key_text(pl("0", "-3", "4", "0")), "0,3,-4,0");
    EXPECT_EQ(key_text(pl("0", "0", "0", "0")), "0,0,0,0");
    EXPECT_EQ(key_text(pl("0", "0", "0", "-7/3")), "0,0,0,1");
    EXPECT_EQ(key_text(pl("2/3", "-4/9", "0", "1/6")), "12,-8,0,3");

    // (n, w), (-n, -w) and (k n, k w) for several k, small and big, agree.
    const Plane base = pl("3", "-7/2", "5/11", "-13/4");
    const std::string expected = key_text(base);
    for (const char* k : {"-1", "2", "-3/7", "123456789012345678901234567890", "-1/98765432109876543210"}) {
        Rational s = parse_r(k);
        EXPECT_EQ(key_text(Plane{smul(s, base.normal), s * base.offset}), expected) << k;
    }
}

TEST(CanonicalPlane, BigIntegersTakeTheGeneralPath) {
    // 2^60 is beyond the machine-integer shortcut; the gcd must still come out.
    EXPECT_EQ(key_text(pl("-1152921504606846976", "0", "0", "-3458764513820540928")), "1,0,0,3");
    EXPECT_EQ(key_text(pl("9007199254740992", "9007199254740993", "0", "0")), "9007199254740992,9007199254740993,0,0");
    EXPECT_EQ(key_text(pl("-9007199254740991", "0", "0", "9007199254740991")), "1,0,0,-1");
    EXPECT_EQ(key_text(pl("-1152921504606846976", "2305843009213693952", "0", "3458764513820540928")), "1,-2,0,-3");
    EXPECT_EQ(key_text(pl("0", "0", "-1/9", "-1/27")), "0,0,3,1");
    EXPECT_EQ(key_text(pl("0", "-123456789012345678901/2", "0", "1/3")), "0,370370367037037036703,0,-2");
}

TEST(CoplanarKey, IsTheCanonicalPlaneNegated) {
    EXPECT_EQ(coplanar_text(pl("-5", "0", "0", "0")), "-1,0,0,0");
    EXPECT_EQ(coplanar_text(pl("0", "0", "1/2", "3/2")), "0,0,-1,-3");
    EXPECT_EQ(coplanar_text(pl("0", "0", "-2", "-6")), "0,0,-1,-3");
    EXPECT_EQ(coplanar_text(pl("0", "0", "0", "0")), "0,0,0,0");
}

TEST(UnitNormal, ExactOnlyForPerfectSquares) {
    EXPECT_EQ(dir_text(unit_normal(pl("0", "-3", "4", "0"))), "0/1,3/5,-4/5");
    EXPECT_EQ(dir_text(unit_normal(pl("0", "0", "-2", "-6"))), "0/1,0/1,1/1");
    EXPECT_EQ(dir_text(unit_normal(pl("2/3", "1/3", "2/3", "5"))), "2/3,1/3,2/3");
    EXPECT_EQ(dir_text(unit_normal(pl("1", "1", "0", "0"))), "none");
    // A zero normal is a failure, with or without an offset.
    EXPECT_PANIC_KIND(unit_normal(pl("0", "0", "0", "0")), corv::PanicKind::division_by_zero);
    EXPECT_PANIC_KIND(unit_normal(pl("0", "0", "0", "4")), corv::PanicKind::division_by_zero);
}

// Directions with and without a rational length, scaled by small and big
// factors of either sign: small values take the machine-integer path, big
// ones the general one, and every scaling must give the same unit normal
// (its first non-zero entry positive) and the same unit direction (the
// vector's own sense).
TEST(UnitNormal, SmallAndBigValuesAgree) {
    const char* directions[][3] = {{"1", "2", "2"},  {"2", "-3", "6"}, {"0", "3", "-4"},
                                   {"-8", "4", "1"}, {"0", "0", "-5"}, {"12", "0", "5"},
                                   {"1", "1", "0"},  {"1", "1", "1"},  {"2", "3", "5"}};
    const char* factors[] = {"1",
                             "-1",
                             "3/7",
                             "-2/9",
                             "1099511627776",
                             "-1/34359738368",
                             "2147483647/2147483646",
                             "7/10",
                             "-123456789012345678901/3"};
    for (const auto& d : directions) {
        const Vec3 n = v(d[0], d[1], d[2]);
        const std::optional<Vec3> normal = unit_normal(Plane{n, Rational(1)});
        const std::optional<Vec3> sense = unit_dir(n);
        EXPECT_EQ(normal.has_value(), sense.has_value()) << point_text(n);
        if (normal) {
            EXPECT_EQ(dot(*normal, *normal), Rational(1));
            EXPECT_EQ(cross(*normal, n), Vec3{});
            EXPECT_EQ(dot(*sense, *sense), Rational(1));
            EXPECT_GT(dot(*sense, n).sign(), 0);
        }
        for (const char* k : factors) {
            const Rational s = parse_r(k);
            EXPECT_EQ(unit_normal(Plane{smul(s, n), s * Rational(5)}), normal) << point_text(n) << " times " << k;
            const std::optional<Vec3> scaled_sense = unit_dir(smul(s, n));
            ASSERT_EQ(scaled_sense.has_value(), sense.has_value()) << point_text(n) << " times " << k;
            if (sense) {
                EXPECT_EQ(*scaled_sense, s.sign() > 0 ? *sense : neg(*sense)) << point_text(n) << " times " << k;
            }
        }
    }
}

// coplanar() must say what comparing the keys says: the same plane either
// way round, whatever the scale; zero normals included.
TEST(Coplanar, AgreesWithTheKeys) {
    std::vector<Plane> planes;
    const char* normals[][3] = {{"1", "0", "0"},  {"0", "-2", "0"}, {"1", "2", "-3"},
                                {"2", "4", "-6"}, {"0", "0", "0"},  {"1/3", "0", "1/2"}};
    for (const auto& n : normals) {
        for (const char* w : {"0", "1", "-1/2", "3"}) {
            for (const char* k : {"1", "-1", "5/3", "-1099511627776"}) {
                const Rational s = parse_r(k);
                planes.push_back(Plane{smul(s, v(n[0], n[1], n[2])), s * parse_r(w)});
            }
        }
    }
    for (const Plane& a : planes) {
        for (const Plane& b : planes) {
            EXPECT_EQ(coplanar(a, b), coplanar_key(a) == coplanar_key(b))
                << point_text(a.normal) << " " << a.offset.text() << " / " << point_text(b.normal) << " "
                << b.offset.text();
        }
    }
}

TEST(CanonDir, IntegerGcdOneFirstPositive) {
    EXPECT_EQ(dir_text(canon_dir(v("0", "0", "-3"))), "0/1,0/1,1/1");
    EXPECT_EQ(dir_text(canon_dir(v("1/2", "-1/3", "0"))), "3/1,-2/1,0/1");
    EXPECT_EQ(dir_text(canon_dir(v("-2", "4", "6"))), "1/1,-2/1,-3/1");
    EXPECT_EQ(dir_text(canon_dir(v("0", "0", "7/2"))), "0/1,0/1,1/1");
    EXPECT_EQ(dir_text(canon_dir(v("0", "0", "0"))), "none");
    EXPECT_EQ(dir_text(canon_dir(v("0", "-12345678901234567890123", "24691357802469135780246"))), "0/1,1/1,-2/1");
    // v and k v agree for either sign of k.
    const Vec3 d = v("-5/6", "10/9", "-35/4");
    for (const char* k : {"-1", "3", "-2/5", "99999999999999999999"}) {
        EXPECT_EQ(canon_dir(smul(parse_r(k), d)), canon_dir(d)) << k;
    }
}

TEST(UnitDir, KeepsTheSenseOfTheVector) {
    EXPECT_EQ(dir_text(unit_dir(v("3", "0", "-4"))), "3/5,0/1,-4/5");
    EXPECT_EQ(dir_text(unit_dir(v("-3/10", "0", "2/5"))), "-3/5,0/1,4/5");
    EXPECT_EQ(dir_text(unit_dir(v("0", "0", "-1/7"))), "0/1,0/1,-1/1");
    EXPECT_EQ(dir_text(unit_dir(v("1", "1", "0"))), "none");
    EXPECT_EQ(dir_text(unit_dir(v("1/2", "1/2", "0"))), "none");  // s = 1/2: denominator not square
    EXPECT_PANIC_KIND(unit_dir(v("0", "0", "0")), corv::PanicKind::division_by_zero);
}

TEST(LineKey, SameForEveryEdgeOnTheLine) {
    EXPECT_EQ(line_key(v("0", "0", "0"), v("2", "0", "0")), "1/1,0/1,0/1|0/1,0/1,0/1");
    EXPECT_EQ(line_key(v("0", "1", "0"), v("0", "1", "3")), "0/1,0/1,1/1|1/1,0/1,0/1");
    EXPECT_EQ(line_key(v("0", "1", "3"), v("0", "1", "0")), "0/1,0/1,1/1|1/1,0/1,0/1");
    EXPECT_EQ(line_key(v("1", "0", "0"), v("1", "0", "1")), "0/1,0/1,1/1|0/1,-1/1,0/1");
    EXPECT_EQ(line_key(v("5", "5", "5"), v("5", "5", "5")), std::nullopt);
    // Other stretches of one line, and a rational line.
    EXPECT_EQ(line_key(v("1/2", "1/3", "0"), v("3/2", "4/3", "1")),
              line_key(v("-7/2", "-11/3", "-4"), v("-5/2", "-8/3", "-3")));
    EXPECT_NE(line_key(v("0", "0", "0"), v("1", "1", "0")), line_key(v("0", "1", "0"), v("1", "2", "0")));
}

TEST(LineKey, SharedEdgeOfAdjacentBoxFaces) {
    Solid box = Solid::cube(2, 3, 5, "b");
    // bottom (0,3,2,1) and front (0,1,5,4) share the edge 0-1, run oppositely.
    const auto& bottom = box.polygons.at(0).vertices();
    const auto& front = box.polygons.at(2).vertices();
    EXPECT_EQ(line_key(bottom.at(3), bottom.at(0)), line_key(front.at(0), front.at(1)));
}

TEST(LineSide, PositionsAlongTheCanonicalDirection) {
    auto side = line_side(v("4", "1", "0"), v("0", "1", "0"));
    ASSERT_TRUE(side);
    EXPECT_EQ(side->key, line_key(v("4", "1", "0"), v("0", "1", "0")));
    EXPECT_EQ(point_text(side->dir), "1/1,0/1,0/1");
    EXPECT_EQ(side->ta, Rational(4));
    EXPECT_EQ(side->tb, Rational(0));
    EXPECT_EQ(line_position(v("1/2", "9", "9"), side->dir), parse_r("1/2"));
    EXPECT_FALSE(line_side(v("1", "2", "3"), v("1", "2", "3")));
}

}  // namespace
}  // namespace corv
