#include "mesh/face_loops.h"

#include <gtest/gtest.h>

#include <map>
#include <utility>

#include "bsp/boolean.h"
#include "builders/prism.h"
#include "core/transforms.h"

namespace corv {
namespace {

Solid box_at(int size, int at, const char* label) {
    return translated(Solid::cube(size, size, size, label), Vec3{at, at, at});
}

// Every side of every loop is a side of exactly one other loop, run the
// other way; and each face's loops lie in its plane, the outer one turning
// counter-clockwise about the outward normal and the holes clockwise.
void expect_closed_faces(const FaceLoops& f) {
    std::map<std::pair<std::uint32_t, std::uint32_t>, int> sides;
    for (const PlanarFace& face : f.faces) {
        ASSERT_FALSE(face.loops.empty());
        const Rational offset = dot(face.normal, f.points[face.loops[0][0]]);
        for (std::size_t l = 0; l < face.loops.size(); ++l) {
            const auto& loop = face.loops[l];
            Vec3 area;
            for (std::size_t i = 0; i < loop.size(); ++i) {
                const std::uint32_t a = loop[i], b = loop[(i + 1) % loop.size()];
                EXPECT_EQ(dot(face.normal, f.points[a]), offset);
                area = add(area, cross(f.points[a], f.points[b]));
                ++sides[{a, b}];
            }
            EXPECT_EQ(dot(area, face.normal).sign(), l == 0 ? 1 : -1);
        }
    }
    for (const auto& [side, count] : sides) {
        EXPECT_EQ(count, 1);
        EXPECT_EQ(sides.count({side.second, side.first}), 1u);
    }
}

TEST(FaceLoops, HolesStayInTheirFaceAndCoplanarWallsOfTwoHolesAreTwoFaces) {
    Solid slab = Solid::cube(6, 3, 1, "slab");
    slab = boolean(BooleanOp::cut, slab, translated(Solid::cube(1, 1, 3, "a"), Vec3{1, 1, -1}));
    slab = boolean(BooleanOp::cut, slab, translated(Solid::cube(1, 1, 3, "b"), Vec3{4, 1, -1}));
    const FaceLoops f = face_loops(slab);
    ASSERT_EQ(f.faces.size(), 6u + 4u + 4u);
    expect_closed_faces(f);
    std::size_t with_holes = 0, walls_facing_y = 0;
    for (const PlanarFace& face : f.faces) {
        if (face.loops.size() == 3) ++with_holes;
        if (face.normal == Vec3{0, 1, 0} && dot(face.normal, f.points[face.loops[0][0]]) == Rational(1)) {
            ++walls_facing_y;
        }
    }
    EXPECT_EQ(with_holes, 2u);      // top and bottom, each with both holes
    EXPECT_EQ(walls_facing_y, 2u);  // the holes' walls on y = 1, one face each
    EXPECT_EQ(f.outer_of, (std::vector<std::uint32_t>{0}));
}

TEST(FaceLoops, CavitiesBelongToTheSmallestShellAroundThem) {
    // A box with a cavity, an island in the cavity, and a cavity in the island.
    Solid nest = boolean(BooleanOp::cut, box_at(10, 0, "outer"), box_at(8, 1, "cavity"));
    Solid island = boolean(BooleanOp::cut, box_at(4, 3, "island"), box_at(2, 4, "pit"));
    for (Polygon& p : island.polygons) nest.polygons.push_back(p);
    const FaceLoops f = face_loops(nest);
    ASSERT_EQ(f.faces.size(), 24u);
    ASSERT_EQ(f.outer_of.size(), 4u);
    expect_closed_faces(f);
    std::map<std::string, std::uint32_t> shell_of;
    for (const PlanarFace& face : f.faces) shell_of[f.label_names[face.label].substr(0, 4)] = face.shell;
    EXPECT_EQ(f.outer_of[shell_of["oute"]], shell_of["oute"]);
    EXPECT_EQ(f.outer_of[shell_of["cavi"]], shell_of["oute"]);
    EXPECT_EQ(f.outer_of[shell_of["isla"]], shell_of["isla"]);
    EXPECT_EQ(f.outer_of[shell_of["pit."]], shell_of["isla"]);
}

TEST(FaceLoops, NormalsAreOutwardAndReduced) {
    // A wedge: its slanted side faces (1, 1, 0) outward, whatever its size.
    const Solid wedge = make_prism({{0, 0}, {6, 0}, {0, 6}}, Rational(1) / Rational(3), "w");
    const FaceLoops f = face_loops(wedge);
    ASSERT_EQ(f.faces.size(), 5u);
    std::size_t slanted = 0;
    for (const PlanarFace& face : f.faces) {
        slanted += face.normal == Vec3{1, 1, 0};
        EXPECT_EQ(face.loops.size(), 1u);
    }
    EXPECT_EQ(slanted, 1u);
    expect_closed_faces(f);
}

}  // namespace
}  // namespace corv
