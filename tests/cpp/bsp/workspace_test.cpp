#include "bsp/workspace.h"

#include <gtest/gtest.h>

#include <random>

#include "bsp/face_sort.h"
#include "bsp/tree.h"
#include "core/transforms.h"
#include "support/support.h"

namespace corv {
namespace {

using bsp::Face;
using bsp::Workspace;

Vec3 v(int x, int y, int z) { return {x, y, z}; }

Solid soup(std::vector<Polygon> polygons) {
    Solid s;
    s.polygons = std::move(polygons);
    return s;
}

// The face's corners as it currently runs, as exact points.
std::vector<Vec3> loop(const Workspace& ws, const Face& f) {
    std::vector<Vec3> out;
    for (std::uint32_t k = 0; k < f.count; ++k) out.push_back(ws.point(ws.corner(f, k)));
    return out;
}

std::vector<bsp::PointId> ids(const Workspace& ws, const Face& f) {
    std::vector<bsp::PointId> out;
    for (std::uint32_t k = 0; k < f.count; ++k) out.push_back(ws.corner(f, k));
    return out;
}

// The four lists one sort fills.
struct Sorted {
    std::vector<Face> coplanar_front, coplanar_back, front, back;
};

Sorted sort(Workspace& ws, std::uint32_t plane_ref, const Face& f) {
    bsp::SortScratch scratch;
    Sorted s;
    bsp::sort_face(ws, scratch, plane_ref, f, s.coplanar_front, s.coplanar_back, s.front, s.back);
    return s;
}

// A cutting plane: the face x = 1 facing +x, and a slanted one, 3x + 2y = 4.
Solid cutters() {
    return soup({Polygon::make({v(1, 0, 0), v(1, 1, 0), v(1, 1, 1), v(1, 0, 1)}, "x=1"),
                 Polygon::make({v(0, 2, 0), v(2, -1, 0), v(2, -1, 1)}, "slant")});
}

struct SortCase : ::testing::Test {
    const Solid cut = cutters();
    const Solid faces = soup({
        Polygon::make({v(0, 0, 0), v(2, 0, 0), v(2, 2, 0), v(0, 2, 0)}, "square"),
        Polygon::make({v(1, 0, 0), v(2, 1, 0), v(0, 1, 0)}, "corner on"),
        Polygon::make({v(1, 0, 5), v(1, 1, 6), v(1, 0, 6)}, "in, facing +x"),
        Polygon::make({v(1, 0, 5), v(1, 0, 6), v(1, 1, 6)}, "in, facing -x"),
        Polygon::make({v(2, 0, 0), v(3, 0, 0), v(3, 1, 0)}, "ahead"),
    });
    Workspace ws;
    std::vector<Face> planes = ws.load(cut);
    std::vector<Face> f = ws.load(faces);
    std::uint32_t x1 = planes[0].plane;
    std::uint32_t slant = planes[1].plane;
};

TEST_F(SortCase, ThePlaneAndItsNegationGiveMirroredResults) {
    for (std::uint32_t p : {x1, slant}) {
        for (const Face& face : f) {
            SCOPED_TRACE(face.source->label);
            const Sorted a = sort(ws, p, face);
            const Sorted b = sort(ws, p ^ bsp::kNegated, face);
            ASSERT_EQ(a.coplanar_front.size(), b.coplanar_back.size());
            ASSERT_EQ(a.coplanar_back.size(), b.coplanar_front.size());
            ASSERT_EQ(a.front.size(), b.back.size());
            ASSERT_EQ(a.back.size(), b.front.size());
            // The same pieces, corner for corner.
            for (std::size_t i = 0; i < a.front.size(); ++i) EXPECT_EQ(loop(ws, a.front[i]), loop(ws, b.back[i]));
            for (std::size_t i = 0; i < a.back.size(); ++i) EXPECT_EQ(loop(ws, a.back[i]), loop(ws, b.front[i]));
        }
    }
    EXPECT_EQ(sort(ws, x1, f[2]).coplanar_front.size(), 1u);
    EXPECT_EQ(sort(ws, x1, f[3]).coplanar_back.size(), 1u);
    EXPECT_EQ(sort(ws, x1, f[4]).front.size(), 1u);
    EXPECT_EQ(sort(ws, x1 ^ bsp::kNegated, f[4]).back.size(), 1u);
}

TEST_F(SortCase, PiecesShareTheirCrossingPointsWhichLieOnThePlane) {
    const Sorted s = sort(ws, x1, f[0]);
    ASSERT_EQ(s.front.size(), 1u);
    ASSERT_EQ(s.back.size(), 1u);
    // Each piece starts at the first corner on its side; crossing points
    // follow the corner that starts their edge.
    EXPECT_EQ(loop(ws, s.front[0]), (std::vector<Vec3>{v(1, 0, 0), v(2, 0, 0), v(2, 2, 0), v(1, 2, 0)}));
    EXPECT_EQ(loop(ws, s.back[0]), (std::vector<Vec3>{v(0, 0, 0), v(1, 0, 0), v(1, 2, 0), v(0, 2, 0)}));
    const auto fr = ids(ws, s.front[0]);
    const auto br = ids(ws, s.back[0]);
    EXPECT_EQ(fr[0], br[1]);
    EXPECT_EQ(fr[3], br[2]);
    for (const Face& piece : {s.front[0], s.back[0]}) {
        EXPECT_EQ(piece.plane, f[0].plane);
        EXPECT_EQ(piece.flags, bsp::kHasArea);
        EXPECT_EQ(piece.source, f[0].source);
    }

    // A corner on the plane goes to both pieces, as the same point.
    const Sorted on = sort(ws, x1, f[1]);
    ASSERT_EQ(on.front.size(), 1u);
    ASSERT_EQ(on.back.size(), 1u);
    EXPECT_EQ(loop(ws, on.front[0]), (std::vector<Vec3>{v(1, 0, 0), v(2, 1, 0), v(1, 1, 0)}));
    EXPECT_EQ(loop(ws, on.back[0]), (std::vector<Vec3>{v(1, 0, 0), v(1, 1, 0), v(0, 1, 0)}));
    EXPECT_EQ(ids(ws, on.front[0])[0], ids(ws, on.back[0])[0]);
    EXPECT_EQ(ids(ws, on.front[0])[2], ids(ws, on.back[0])[1]);

    // Crossings of a slanted plane are exact rationals on it, and their
    // double copies are the correctly rounded ones.
    const Plane& sp = ws.plane(slant);
    const Sorted slanted = sort(ws, slant, f[0]);
    ASSERT_EQ(slanted.front.size() + slanted.back.size(), 2u);
    for (const Face& piece : {slanted.front[0], slanted.back[0]}) {
        for (bsp::PointId id : ids(ws, piece)) {
            const bool made = id >= ws.points.size() - ws.made.size();
            if (made) {
                EXPECT_EQ(sp.side(ws.point(id)), 0);
            }
            EXPECT_EQ(ws.floats[id], to_f3(ws.point(id)));
        }
    }
}

TEST_F(SortCase, AFlippedFacesPiecesRunInItsFlippedOrder) {
    const Sorted plain = sort(ws, x1, f[0]);
    Face flipped = f[0];
    bsp::flip(flipped);
    const Sorted s = sort(ws, x1, flipped);
    ASSERT_EQ(s.front.size(), 1u);
    ASSERT_EQ(s.back.size(), 1u);
    auto reversed = [&](const Face& face) {
        std::vector<Vec3> l = loop(ws, face);
        std::reverse(l.begin(), l.end());
        return l;
    };
    EXPECT_EQ(loop(ws, s.front[0]), reversed(plain.front[0]));
    EXPECT_EQ(loop(ws, s.back[0]), reversed(plain.back[0]));
    for (const Face& piece : {s.front[0], s.back[0]}) {
        EXPECT_EQ(piece.plane, f[0].plane ^ bsp::kNegated);
        EXPECT_EQ(piece.flags & bsp::kReversed, 0u);  // stored in the order it runs
    }
    // Written out, the piece faces down with its parent.
    const Solid out = ws.result({s.front[0]});
    ASSERT_EQ(out.polygons.size(), 1u);
    EXPECT_EQ(out.polygons[0].plane, faces.polygons[0].plane.negated());
    EXPECT_LT(out.polygons[0].vector_area2().z.sign(), 0);
}

TEST_F(SortCase, PiecesWithoutAreaAreDropped) {
    // A loop that runs out along y = 0 and back: beyond x = 3 it only has
    // a needle without area.
    const Solid needle = soup({Polygon::make({v(0, 1, 0), v(0, 0, 0), v(4, 0, 0), v(2, 0, 0)}, "needle"),
                               Polygon::make({v(0, 0, 0), v(4, 0, 0), v(2, 0, 0)}, "line"),
                               Polygon::make({v(3, 0, 0), v(3, 1, 0), v(3, 1, 1)}, "x=3")});
    const std::vector<Face> g = ws.load(needle);
    const std::uint32_t x3 = g[2].plane;
    const Sorted s = sort(ws, x3, g[0]);
    EXPECT_TRUE(s.front.empty());
    ASSERT_EQ(s.back.size(), 1u);
    EXPECT_EQ(loop(ws, s.back[0]), (std::vector<Vec3>{v(0, 1, 0), v(0, 0, 0), v(3, 0, 0), v(3, 0, 0), v(2, 0, 0)}));
    const Sorted mirrored = sort(ws, x3 ^ bsp::kNegated, g[0]);
    EXPECT_TRUE(mirrored.back.empty());
    EXPECT_EQ(mirrored.front.size(), 1u);
    // A loop without area at all leaves nothing when cut.
    const Sorted line = sort(ws, x3, g[1]);
    EXPECT_TRUE(line.front.empty() && line.back.empty());
}

TEST_F(SortCase, FacesWithFewerThanThreeCornersDoNotCrash) {
    for (std::uint32_t count : {0u, 1u, 2u}) {
        SCOPED_TRACE(count);
        Face small = f[0];  // corners (0,0,0) and (2,0,0) straddle x = 1
        small.count = count;
        small.box = ws.add_box(&ws.corners[small.first], count);
        for (std::uint32_t p : {x1, x1 ^ bsp::kNegated, slant}) {
            const Sorted s = sort(ws, p, small);
            // Nothing with area can come out of fewer than three corners.
            for (const auto* list : {&s.front, &s.back}) {
                for (const Face& piece : *list) EXPECT_EQ(piece.count, small.count);
            }
            EXPECT_LE(s.coplanar_front.size() + s.coplanar_back.size() + s.front.size() + s.back.size(), 1u);
        }
        EXPECT_TRUE(ws.result({small}).polygons.empty());
    }
}

TEST(Workspace, ResultDropsFacesWithoutAreaAndKeepsTheRoundedCopies) {
    // Scaled flat along y: only the two faces across y keep their area.
    const Solid flat = scaled(Solid::cube(1, 1, 1, "c"), Rational(1), Rational(0), Rational(1));
    Workspace ws;
    const std::vector<Face> faces = ws.load(flat);
    const Solid out = ws.result(faces);
    ASSERT_EQ(out.polygons.size(), 2u);
    for (const Polygon& p : out.polygons) {
        EXPECT_FALSE(p.is_degenerate());
        EXPECT_TRUE(p.plane.normal.x.is_zero() && p.plane.normal.z.is_zero());
    }

    // Points made by cuts at thirds: their doubles are the rounded exact values.
    const Solid tri = soup({Polygon::make({v(0, 0, 0), v(1, 0, 0), v(0, 1, 0)}, "t"),
                            Polygon::make({v(1, 1, 0), v(-2, 0, 0), v(-2, 0, 1)}, "cut")});
    const std::vector<Face> t = ws.load(tri);
    bsp::SortScratch scratch;
    std::vector<Face> pieces;
    bsp::sort_face(ws, scratch, t[1].plane, t[0], pieces, pieces, pieces, pieces);
    ASSERT_EQ(pieces.size(), 2u);
    const Solid cut = ws.result(pieces);
    ASSERT_EQ(cut.polygons.size(), 2u);
    bool made_third = false;
    for (const Polygon& p : cut.polygons) {
        ASSERT_EQ(p.float_vertices().size(), p.vertices().size());
        for (std::size_t i = 0; i < p.vertices().size(); ++i) {
            EXPECT_EQ(p.float_vertices()[i], to_f3(p.vertices()[i]));
            made_third = made_third || !p.vertices()[i].x.is_integer();
        }
    }
    EXPECT_TRUE(made_third);
}

TEST(Workspace, AxisPlaneShortcutAgreesWithThePlanesOwnSide) {
    // Planes along each axis, both ways round, at levels that are not whole.
    std::vector<Polygon> polys;
    const Vec3 corners[3] = {v(0, 0, 0), v(1, 0, 0), v(0, 1, 0)};
    for (int axis = 0; axis < 3; ++axis) {
        for (int n : {3, -3, 7}) {
            for (int w : {1, -2, 0}) {
                Plane p;
                p.normal[static_cast<std::size_t>(axis)] = n;
                p.offset = w;
                polys.push_back(Polygon::with_plane({corners[0], corners[1], corners[2]}, p, "p"));
            }
        }
    }
    const Solid s = soup(std::move(polys));
    Workspace ws;
    const std::vector<Face> faces = ws.load(s);
    std::mt19937 rng(7);
    std::vector<bsp::PointId> points;
    for (int k = 0; k < 60; ++k) {
        auto c = [&] { return Rational(static_cast<int>(rng() % 13) - 6) / Rational(static_cast<int>(rng() % 3) + 1); };
        points.push_back(ws.add_point(Vec3{c(), c(), c()}));
    }
    for (const Face& f : faces) {
        bsp::PlaneEntry& e = ws.planes[f.plane >> 1];
        ASSERT_GE(e.axis, 0);
        for (int pass = 0; pass < 2; ++pass) {  // the second pass reads the kept level
            for (bsp::PointId id : points) EXPECT_EQ(ws.exact_side(e, id), e.plane->side(ws.point(id)));
        }
    }
}

TEST(Workspace, FacesNearTheTopOfTheDoublesRangeAreCutByPlanesWithTinyNormals) {
    // Corners at z = 1.5 * 2^1023: the double box's centre, (lo + hi) / 2,
    // overflows on the way, though the plane's tiny z normal keeps every
    // side value small. The square straddles the plane x + 2^-1000 z = w.
    Rational z = 3;
    for (int i = 0; i < 1022; ++i) z *= 2;
    Rational big = 1;
    for (int i = 0; i < 1000; ++i) big *= 2;
    const Rational tiny = Rational(1) / big;
    const Rational w = tiny * z + Rational(1) / Rational(2);
    Plane plane;
    plane.normal = Vec3{1, 0, tiny};
    plane.offset = w;
    const Solid s = soup({Polygon::make({Vec3{0, 0, z}, Vec3{1, 0, z}, Vec3{1, 1, z}, Vec3{0, 1, z}}, "high"),
                          Polygon::with_plane({v(0, 0, 0), v(1, 0, 0), v(0, 1, 0)}, plane, "cutter")});
    Workspace ws;
    const std::vector<Face> f = ws.load(s);
    const Sorted cut = sort(ws, f[1].plane, f[0]);
    ASSERT_EQ(cut.front.size(), 1u);
    ASSERT_EQ(cut.back.size(), 1u);
    for (const Vec3& p : loop(ws, cut.front[0])) EXPECT_GE(plane.side(p), 0);
    for (const Vec3& p : loop(ws, cut.back[0])) EXPECT_LE(plane.side(p), 0);
}

}  // namespace
}  // namespace corv

namespace corv {
namespace {

// Ids stop short of the markers: a plane reference never equals the tree's
// no-plane marker, a node or point id never the no-node one.
TEST(Workspace, IdsNeverReachTheMarkers) {
    EXPECT_EQ(bsp::next_id(5), 5u);
    EXPECT_THROW(bsp::next_id(0xfffffffeu), std::bad_alloc);
    EXPECT_THROW(bsp::next_id(bsp::kNoPlaneId, bsp::kNoPlaneId), std::bad_alloc);
    const std::uint32_t last_plane = bsp::next_id(bsp::kNoPlaneId - 1, bsp::kNoPlaneId);
    EXPECT_NE(last_plane * 2 + 1, bsp::kNoPlane);
}

}  // namespace
}  // namespace corv
