#include <gmp.h>
#include <gtest/gtest.h>

#include <algorithm>
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

// Whether decode refuses the bytes as corrupt with a text holding `words`.
::testing::AssertionResult refused_with(const Bytes& bytes, const std::string& words) {
    try {
        decode(bytes);
    } catch (const Panic& e) {
        const std::string text = e.what();
        if (e.kind == PanicKind::corrupt_data && text.find(words) != std::string::npos) {
            return ::testing::AssertionSuccess();
        }
        return ::testing::AssertionFailure() << "refused with \"" << text << "\", expected \"" << words << "\"";
    }
    return ::testing::AssertionFailure() << "loaded, expected a refusal saying \"" << words << "\"";
}

::testing::AssertionResult refused_with(const Solid& s, const std::string& words) {
    return refused_with(encode(s), words);
}

Solid with_face(Solid s, std::size_t i, std::vector<Vec3> loop) {
    s.polygons[i] = Polygon::with_plane(std::move(loop), s.polygons[i].plane, "edited");
    return s;
}

Solid joined(Solid a, const Solid& b) {
    a.polygons.insert(a.polygons.end(), b.polygons.begin(), b.polygons.end());
    return a;
}

void expect_loads_unchanged(const Solid& s) {
    const Bytes bytes = encode(s);
    EXPECT_EQ(encode(decode(bytes)), bytes);
}

TEST(SerialRefusal, LoopsThatAreNotSimple) {
    const Solid cube = Solid::cube(4, 4, 4, "c");  // polygon 1 is the top, z = 4, facing +z
    std::vector<Vec3> twice = cube.polygons[1].vertices();
    twice.push_back(twice[0]);
    EXPECT_TRUE(refused_with(with_face(cube, 1, twice), "polygon 1: vertices 0 and 4 are both point"));
    const std::vector<Vec3> star{{0, 0, 4}, {4, 2, 4}, {0, 4, 4}, {2, 0, 4}, {4, 4, 4}};
    EXPECT_TRUE(refused_with(with_face(cube, 1, star), "polygon 1: the loop runs 2 times round"));
    const std::vector<Vec3> bowtie{{0, 0, 4}, {4, 4, 4}, {4, 0, 4}, {0, 4, 4}, {-4, 2, 4}};
    EXPECT_TRUE(refused_with(with_face(cube, 1, bowtie), "cross or touch"));
    const std::vector<Vec3> folded{{0, 0, 4}, {4, 0, 4}, {2, 0, 4}, {2, 2, 4}};
    EXPECT_TRUE(refused_with(with_face(cube, 1, folded), "run back over each other"));
}

TEST(SerialRefusal, SurfacesThatDoNotBoundASolid) {
    const Solid cube = Solid::cube(2, 2, 2, "c");
    Solid open = cube;
    open.polygons.erase(open.polygons.begin() + 1);
    EXPECT_TRUE(refused_with(open, "is not matched by sides running the other way"));
    EXPECT_TRUE(refused_with(joined(cube, cube), "polygons 0 and 6 have the same loop"));
    Solid inside_out = cube;
    for (Polygon& p : inside_out.polygons) p.flip();
    EXPECT_TRUE(refused_with(inside_out, "negative volume (-8)"));
    // Two closed boxes whose bottoms overlap in one plane: mesh() cannot
    // triangulate that.
    EXPECT_TRUE(refused_with(joined(cube, Solid::cube_at({1, 0, 0}, 2, 2, 2, "d")), "do not bound a solid"));
}

TEST(SerialRefusal, SolidsTouchingThemselvesAndTJunctionsLoad) {
    const Solid cube = Solid::cube(1, 1, 1, "c");
    expect_loads_unchanged(joined(cube, Solid::cube_at({1, 1, 0}, 1, 1, 1, "edge")));
    expect_loads_unchanged(joined(cube, Solid::cube_at({1, 1, 1}, 1, 1, 1, "corner")));
    // The top split in two: the sides' top edges meet two shorter edges each.
    Solid split = Solid::cube(2, 2, 1, "s");
    const Plane top = split.polygons[1].plane;
    split.polygons[1] = Polygon::with_plane({{0, 0, 1}, {1, 0, 1}, {1, 2, 1}, {0, 2, 1}}, top, "left");
    split.polygons.push_back(Polygon::with_plane({{1, 0, 1}, {2, 0, 1}, {2, 2, 1}, {1, 2, 1}}, top, "right"));
    expect_loads_unchanged(split);
    split.polygons.back() = Polygon::with_plane({{1, 0, 1}, {2, 0, 1}, {2, 1, 1}, {1, 1, 1}}, top, "short");
    EXPECT_TRUE(refused_with(split, "not matched"));
    // Thousands of digits on every vertex.
    Integer far;
    mpz_ui_pow_ui(far.get_mut(), 10, 3000);
    const Rational f = Rational::from_integer(far);
    expect_loads_unchanged(Solid::cube_at({f, -f / Rational(7), Rational(3)}, f + 1, f / Rational(3), 1, "far"));
    expect_loads_unchanged(Solid{});
}

TEST(SerialRefusal, TablesHoldEachEntryOnce) {
    auto tables = [](std::vector<std::uint64_t> value_tags, std::vector<std::string> labels,
                     std::vector<std::uint64_t> points) {
        Body b;
        b.varint(value_tags.size());
        for (std::uint64_t v : value_tags) b.small(static_cast<std::int64_t>(v), 1);
        b.varint(labels.size());
        for (const std::string& l : labels) {
            b.varint(l.size());
            for (char c : l) b.byte(static_cast<std::uint8_t>(c));
        }
        b.varint(points.size() / 3);
        for (std::uint64_t i : points) b.varint(i);
        return b.varint(0).varint(0).sealed();
    };
    EXPECT_NO_THROW(decode(tables({0, 1}, {"a", "b"}, {0, 0, 0, 0, 0, 1})));
    EXPECT_TRUE(refused_with(tables({0, 1, 1}, {}, {}), "numbers 1 and 2 are equal (1)"));
    EXPECT_TRUE(refused_with(tables({0}, {"a", "b", "a"}, {}), "labels 0 and 2 are equal"));
    EXPECT_TRUE(refused_with(tables({0, 1}, {}, {0, 1, 0, 1, 1, 1, 0, 1, 0}), "points 0 and 2 are equal"));
}

// A row of boxes from x = 0 to x = near, stored, then near (a number in the
// long form, shared by the points at that end and the plane x = near) swapped
// for far.
Bytes row_reaching(int boxes, const Integer& near, const Integer& far) {
    Solid row;
    for (int j = 0; j < boxes; ++j) {
        for (const Polygon& p : Solid::cube_at({0, 2 * j, 0}, Rational::from_integer(near), 1, 1, "r").polygons) {
            const Vec3 unit{p.plane.normal.x.sign(), p.plane.normal.y.sign(), p.plane.normal.z.sign()};
            // Unit normals, so that near is used by no other plane.
            row.polygons.push_back(Polygon::with_plane(p.vertices(), Plane{unit, dot(unit, p.vertices()[0])}, "r"));
        }
    }
    const Bytes b = encode(row), from = Body().big(near).out, to = Body().big(far).out;
    const auto at = std::search(b.begin() + 16, b.end() - 8, from.begin(), from.end());
    Body body;
    body.out.assign(b.begin() + 16, at);
    body.out.insert(body.out.end(), to.begin(), to.end());
    body.out.insert(body.out.end(), at + static_cast<std::ptrdiff_t>(from.size()), b.end() - 8);
    return body.sealed();
}

TEST(SerialRefusal, ALargeNumberUsedByVeryManyPointsIsRefusedBeforeAnythingIsBuilt) {
    Integer near, far;
    mpz_ui_pow_ui(near.get_mut(), 2, 64);
    mpz_ui_pow_ui(far.get_mut(), 3, 100000);  // 20 kB
    const Solid three = decode(row_reaching(3, near, far));
    EXPECT_EQ(three.polygons[4].vertices()[0].x, Rational::from_integer(far));
    const Bytes many = row_reaching(400, near, far);
    EXPECT_LT(many.size(), std::size_t{80000});
    EXPECT_TRUE(refused_with(many, "bytes of large numbers and labels, more than 32 times the"));
}

}  // namespace
}  // namespace corv
