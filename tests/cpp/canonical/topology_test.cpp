#include <gtest/gtest.h>

#include "canonical/logical_faces.h"
#include "canonical/watertight.h"
#include "core/solid.h"
#include "rs_entry/number_text.h"

namespace corv {
namespace {

using rs_entry::parse_r;

Vec3 p(std::int64_t x, std::int64_t y, std::int64_t z) { return {x, y, z}; }
Vec3 q(const char* x, const char* y, const char* z) { return {parse_r(x), parse_r(y), parse_r(z)}; }
Polygon poly(std::vector<Vec3> loop) { return Polygon::make(std::move(loop), "t.face"); }

// The box [0,2]^3 with face `skip` (0..5, cube order) left out.
Solid box_without(std::size_t skip) {
    Solid box = Solid::cube(2, 2, 2, "b");
    box.polygons.erase(box.polygons.begin() + static_cast<std::ptrdiff_t>(skip));
    return box;
}

// The box [0,2]^3 with its top face (z = 2) replaced by the given pieces.
Solid box_with_top(std::vector<Polygon> top) {
    Solid box = Solid::cube(2, 2, 2, "b");
    box.polygons.erase(box.polygons.begin() + 1);
    for (Polygon& piece : top) box.polygons.push_back(std::move(piece));
    return box;
}

// An L-shaped block: [0,2]x[0,1]x[0,1] with [0,1]x[0,1]x[1,2] on top. The
// whole left face and the lower front face meet split neighbours along
// their sides (T-junctions).
Solid l_block() {
    return Solid::make({
        poly({p(0, 0, 0), p(0, 1, 0), p(2, 1, 0), p(2, 0, 0)}),  // bottom
        poly({p(1, 0, 1), p(2, 0, 1), p(2, 1, 1), p(1, 1, 1)}),  // step
        poly({p(0, 0, 2), p(1, 0, 2), p(1, 1, 2), p(0, 1, 2)}),  // top
        poly({p(0, 0, 0), p(2, 0, 0), p(2, 0, 1), p(0, 0, 1)}),  // front, lower
        poly({p(0, 0, 1), p(1, 0, 1), p(1, 0, 2), p(0, 0, 2)}),  // front, upper
        poly({p(2, 1, 0), p(0, 1, 0), p(0, 1, 1), p(2, 1, 1)}),  // back, lower
        poly({p(1, 1, 1), p(0, 1, 1), p(0, 1, 2), p(1, 1, 2)}),  // back, upper
        poly({p(2, 0, 0), p(2, 1, 0), p(2, 1, 1), p(2, 0, 1)}),  // right
        poly({p(1, 0, 1), p(1, 1, 1), p(1, 1, 2), p(1, 0, 2)}),  // riser
        poly({p(0, 1, 0), p(0, 0, 0), p(0, 0, 2), p(0, 1, 2)}),  // left, whole
    });
}

TEST(LogicalFaces, CountsDistinctUnorientedPlanes) {
    EXPECT_EQ(logical_faces(Solid::cube(1, 2, 3, "b")), 6u);
    EXPECT_EQ(logical_faces(Solid{}), 0u);
    EXPECT_EQ(logical_faces(l_block()), 8u);

    Polygon square = poly({p(0, 0, 0), p(1, 0, 0), p(1, 1, 0), p(0, 1, 0)});
    EXPECT_EQ(logical_faces(Solid{{square, square.flipped()}}), 1u);

    // Pieces of one face, scaled planes and far-apart coplanar polygons count once.
    EXPECT_EQ(logical_faces(box_with_top({poly({p(0, 0, 2), p(1, 0, 2), p(1, 2, 2), p(0, 2, 2)}),
                                          poly({p(1, 0, 2), p(2, 0, 2), p(2, 2, 2), p(1, 2, 2)}),
                                          poly({p(7, 7, 2), p(9, 7, 2), p(9, 9, 2)})})),
              6u);

    // Collinear first vertices leave a zero plane; all such polygons share one key.
    Polygon zero_a = poly({p(0, 0, 0), p(1, 0, 0), p(2, 0, 0), p(0, 1, 0)});
    Polygon zero_b = poly({p(0, 0, 5), p(0, 1, 5), p(0, 2, 5), p(1, 0, 5)});
    EXPECT_EQ(logical_faces(Solid{{zero_a, zero_b}}), 1u);
}

TEST(Watertight, ClosedSurfacesPass) {
    EXPECT_TRUE(watertight_ok(Solid{}));
    EXPECT_TRUE(watertight_ok(Solid::cube(1, 2, 3, "b")));
    EXPECT_TRUE(watertight_ok(Solid::cube(parse_r("1/3"), parse_r("-2/7"), 5, "b")));  // inward-facing
    Polygon square = poly({p(0, 0, 0), p(1, 0, 0), p(1, 1, 0), p(0, 1, 0)});
    EXPECT_TRUE(watertight_ok(Solid{{square, square.flipped()}}));

    // Top split along a diagonal into two triangles.
    EXPECT_TRUE(watertight_ok(
        box_with_top({poly({p(0, 0, 2), p(2, 0, 2), p(2, 2, 2)}), poly({p(0, 0, 2), p(2, 2, 2), p(0, 2, 2)})})));
    // A repeated vertex gives a zero-length side, which is skipped.
    EXPECT_TRUE(watertight_ok(box_with_top({poly({p(0, 0, 2), p(2, 0, 2), p(2, 0, 2), p(2, 2, 2), p(0, 2, 2)})})));
}

TEST(Watertight, TJunctionsPass) {
    // Top split across the middle; the whole front and back edges are matched
    // by two half edges each.
    EXPECT_TRUE(watertight_ok(box_with_top({poly({p(0, 0, 2), p(1, 0, 2), p(1, 2, 2), p(0, 2, 2)}),
                                            poly({p(1, 0, 2), p(2, 0, 2), p(2, 2, 2), p(1, 2, 2)})})));
    EXPECT_TRUE(watertight_ok(l_block()));

    // Front and top both split, at different places: the shared edge has
    // breakpoints 0, 1/2, 1, 2 from four sides of differing lengths.
    Solid box = box_with_top({poly({p(0, 0, 2), p(1, 0, 2), p(1, 2, 2), p(0, 2, 2)}),
                              poly({p(1, 0, 2), p(2, 0, 2), p(2, 2, 2), p(1, 2, 2)})});
    box.polygons.erase(box.polygons.begin() + 1);  // the whole front (y = 0)
    box.polygons.push_back(poly({q("0", "0", "0"), q("1/2", "0", "0"), q("1/2", "0", "2"), q("0", "0", "2")}));
    box.polygons.push_back(poly({q("1/2", "0", "0"), q("2", "0", "0"), q("2", "0", "2"), q("1/2", "0", "2")}));
    EXPECT_TRUE(watertight_ok(box));
}

TEST(Watertight, OpenOrInconsistentSurfacesFail) {
    for (std::size_t face = 0; face < 6; ++face) EXPECT_FALSE(watertight_ok(box_without(face))) << face;

    for (std::size_t face = 0; face < 6; ++face) {
        Solid box = Solid::cube(2, 2, 2, "b");
        box.polygons[face] = box.polygons[face].flipped();
        EXPECT_FALSE(watertight_ok(box)) << face;
    }

    EXPECT_FALSE(watertight_ok(Solid{{poly({p(0, 0, 0), p(1, 0, 0), p(1, 1, 0)})}}));

    // A crack: the top halves leave the strip 1 <= x <= 3/2 uncovered.
    EXPECT_FALSE(watertight_ok(
        box_with_top({poly({p(0, 0, 2), p(1, 0, 2), p(1, 2, 2), p(0, 2, 2)}),
                      poly({q("3/2", "0", "2"), q("2", "0", "2"), q("2", "2", "2"), q("3/2", "2", "2")})})));
    // Overlapping top pieces: the strip 1 <= x <= 3/2 is covered twice.
    EXPECT_FALSE(
        watertight_ok(box_with_top({poly({q("0", "0", "2"), q("3/2", "0", "2"), q("3/2", "2", "2"), q("0", "2", "2")}),
                                    poly({p(1, 0, 2), p(2, 0, 2), p(2, 2, 2), p(1, 2, 2)})})));
    // One of the two halves of a split top flipped.
    EXPECT_FALSE(watertight_ok(box_with_top({poly({p(0, 0, 2), p(1, 0, 2), p(1, 2, 2), p(0, 2, 2)}),
                                             poly({p(1, 0, 2), p(2, 0, 2), p(2, 2, 2), p(1, 2, 2)}).flipped()})));
}

TEST(Watertight, DisjointPartsOnOneLineAreSummedTogether) {
    // Two separate unit cubes along x share the lines of their front and back
    // edges; the gap between them is covered by no side and passes.
    Solid two = Solid::cube(1, 1, 1, "a");
    for (Polygon& face : Solid::cube(1, 1, 1, "b").polygons) {
        std::vector<Vec3> moved;
        for (const Vec3& v : face.vertices()) moved.push_back(add(v, p(3, 0, 0)));
        two.polygons.push_back(poly(std::move(moved)));
    }
    EXPECT_TRUE(watertight_ok(two));
    EXPECT_EQ(logical_faces(two), 8u);
}

}  // namespace
}  // namespace corv
