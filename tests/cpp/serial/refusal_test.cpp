#include <gmp.h>
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "core/panic.h"
#include "serial/serial.h"
#include "serial/stored_body.h"

namespace corv {
namespace {

using test::Body;
using test::Bytes;

// The text of decode's refusal of the bytes, or why there is none.
std::string refusal(const Bytes& bytes) {
    try {
        decode(bytes);
    } catch (const Panic& e) {
        return e.kind == PanicKind::corrupt_data ? e.what() : std::string("another kind: ") + e.what();
    }
    return "none: it loads";
}
std::string refusal(const Solid& s) { return refusal(encode(s)); }

#define EXPECT_REFUSED(data, words) EXPECT_NE(refusal(data).find(words), std::string::npos) << refusal(data)

Solid edited(Solid s, std::size_t i, std::vector<Vec3> loop) {
    s.polygons[i] = Polygon::with_plane(std::move(loop), s.polygons[i].plane, "edited");
    return s;
}

Solid joined(Solid a, const Solid& b) {
    a.polygons.insert(a.polygons.end(), b.polygons.begin(), b.polygons.end());
    return a;
}

TEST(SerialRefusal, EachRuleNamesWhatBreaksIt) {
    const Solid cube = Solid::cube(4, 4, 4, "c");  // polygon 1: the top, z = 4
    std::vector<Vec3> twice = cube.polygons[1].vertices();
    twice.push_back(twice[0]);
    EXPECT_REFUSED(edited(cube, 1, twice), "polygon 1: vertices 0 and 4 are both point");
    EXPECT_REFUSED(edited(cube, 1, {{0, 0, 4}, {4, 2, 4}, {0, 4, 4}, {2, 0, 4}, {4, 4, 4}}), "runs 2 times round");
    EXPECT_REFUSED(edited(cube, 1, {{0, 0, 4}, {4, 4, 4}, {4, 0, 4}, {0, 4, 4}, {-4, 2, 4}}), "cross or touch");
    EXPECT_REFUSED(edited(cube, 1, {{0, 0, 4}, {4, 0, 4}, {2, 0, 4}, {2, 2, 4}}), "run back over each other");
    Solid open = cube, inside_out = cube;
    open.polygons.pop_back();
    EXPECT_REFUSED(open, "is not matched by sides running the other way");
    EXPECT_REFUSED(joined(cube, cube), "polygons 0 and 6 have the same loop");
    for (Polygon& p : inside_out.polygons) p.flip();
    EXPECT_REFUSED(inside_out, "negative volume");
    EXPECT_REFUSED(
        Body().varint(3).small(0, 1).small(1, 1).small(1, 1).varint(0).varint(0).varint(0).varint(0).sealed(),
        "numbers 1 and 2 are equal (1)");
}

TEST(SerialRefusal, SolidsTouchingThemselvesTJunctionsAndLongNumbersLoad) {
    std::vector<Solid> good{joined(Solid::cube(1, 1, 1, "c"), Solid::cube_at({1, 1, 0}, 1, 1, 1, "along an edge")),
                            joined(Solid::cube(1, 1, 1, "c"), Solid::cube_at({1, 1, 1}, 1, 1, 1, "at a corner")),
                            Solid::cube(2, 2, 1, "split top"), Solid{}};
    const Plane top = good[2].polygons[1].plane;  // the sides' top edges each meet two shorter ones
    good[2].polygons[1] = Polygon::with_plane({{0, 0, 1}, {1, 0, 1}, {1, 2, 1}, {0, 2, 1}}, top, "left");
    good[2].polygons.push_back(Polygon::with_plane({{1, 0, 1}, {2, 0, 1}, {2, 2, 1}, {1, 2, 1}}, top, "right"));
    Integer digits;
    mpz_ui_pow_ui(digits.get_mut(), 10, 3000);
    const Rational f = Rational::from_integer(digits);
    good.push_back(Solid::cube_at({f, -f / Rational(7), 3}, f + 1, f / Rational(3), 1, "far"));
    for (const Solid& s : good) EXPECT_EQ(encode(decode(encode(s))), encode(s));
}

TEST(SerialRefusal, ALargeNumberUsedByVeryManyPointsIsRefusedBeforeAnythingIsBuilt) {
    Integer far;
    mpz_ui_pow_ui(far.get_mut(), 3, 100000);         // 20 kB
    auto points_at_far = [&](std::uint64_t count) {  // (far, i, 0): the points alone, no polygons
        Body b;
        b.varint(count + 1).big(far);
        for (std::uint64_t i = 0; i < count; ++i) b.small(static_cast<std::int64_t>(i), 1);
        b.varint(0).varint(count);
        for (std::uint64_t i = 0; i < count; ++i) b.varint(0).varint(i + 1).varint(1);
        return b.varint(0).varint(0).sealed();
    };
    EXPECT_NO_THROW(decode(points_at_far(100)));
    EXPECT_REFUSED(points_at_far(2000), "bytes of large numbers and labels, more than 32 times the");
}

}  // namespace
}  // namespace corv
