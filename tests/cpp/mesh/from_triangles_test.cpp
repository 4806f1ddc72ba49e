#include <gtest/gtest.h>

#include "bsp/boolean.h"
#include "core/exact_double.h"
#include "core/filtered.h"
#include "core/measures.h"
#include "core/panic.h"
#include "core/transforms.h"
#include "mesh/from_triangles.h"
#include "mesh/mesh_checks.h"
#include "support/meshes.h"
#include "support/support.h"
#include "support/workloads.h"

namespace corv {
namespace {

using Faces = std::vector<std::array<std::uint64_t, 3>>;

std::vector<Vec3> tetra_points() { return {{0, 0, 0}, {1, 0, 0}, {0, 1, 0}, {0, 0, 1}}; }
const Faces kTetra{{0, 2, 1}, {0, 1, 3}, {0, 3, 2}, {1, 2, 3}};

std::string panic_of(std::vector<Vec3> points, const Faces& faces) {
    return test::panic_text([&] { solid_from_triangles(std::move(points), faces, "m"); });
}

Solid from_doubles(const meshes::Mesh& m, const std::string& label) {
    return solid_from_triangles(meshes::exact_points(m), m.triangles, label);
}

Rational input_volume6(const meshes::Mesh& m) {
    const std::vector<Vec3> v = meshes::exact_points(m);
    Rational sum;
    for (const auto& f : m.triangles) sum += dot(v[f[0]], cross(v[f[1]], v[f[2]]));
    return sum;
}

// The area check's double screen settles every triangle of an ordinary
// mesh; one at 2^-500 (outside the screen's range) is checked exactly,
// counted once per triangle, and accepted all the same.
TEST(FromTriangles, AreaChecksLeftToExactArithmeticAreCounted) {
    filtered::fallbacks() = {};
    solid_from_triangles(tetra_points(), kTetra, "t");
    EXPECT_EQ(filtered::fallbacks().orient, 0u);
    const Rational tiny = from_double(0x1p-500);
    std::vector<Vec3> small;
    for (const Vec3& p : tetra_points()) small.push_back(smul(tiny, p));
    const Solid s = solid_from_triangles(small, kTetra, "t");
    EXPECT_EQ(s.polygons.size(), 4u);
    EXPECT_EQ(filtered::fallbacks().orient, 4u);
    filtered::fallbacks() = {};
}

TEST(FromTriangles, TetrahedronBothWaysRound) {
    Solid s = solid_from_triangles(tetra_points(), kTetra, "t");
    ASSERT_EQ(s.polygons.size(), 4u);
    EXPECT_EQ(volume6(s.polygons), Rational(1));
    EXPECT_EQ(s.polygons[0].label, "t");
    Faces inverted;
    for (const auto& f : kTetra) inverted.push_back({f[0], f[2], f[1]});
    EXPECT_EQ(volume6(solid_from_triangles(tetra_points(), inverted, "t").polygons), Rational(1));
}

TEST(FromTriangles, FaultsNameTheFirstOffendingFace) {
    Faces out_of_range = kTetra;
    out_of_range[2][1] = 9;
    EXPECT_EQ(panic_of(tetra_points(), out_of_range), "from_mesh: face 2: vertex index 9 is out of range (4 points)");
    EXPECT_PANIC_KIND(solid_from_triangles(tetra_points(), out_of_range, "m"), PanicKind::index);

    std::vector<Vec3> collinear = tetra_points();
    collinear.push_back({2, 0, 0});
    Faces degenerate = kTetra;
    degenerate.push_back({0, 1, 4});
    EXPECT_EQ(panic_of(collinear, degenerate),
              "from_mesh: face 4: the triangle has zero area (repeated or collinear points)");
    EXPECT_PANIC_KIND(solid_from_triangles(collinear, degenerate, "m"), PanicKind::invalid_argument);
    Faces repeated = kTetra;
    repeated[1] = {3, 3, 1};
    EXPECT_NE(panic_of(tetra_points(), repeated).find("face 1: the triangle has zero area"), std::string::npos);
    EXPECT_PANIC_KIND(solid_from_triangles(tetra_points(), repeated, "m"), PanicKind::invalid_argument);

    // Index faults are reported before area faults, area before edges.
    Faces both = degenerate;
    both.push_back({0, 1, 7});
    EXPECT_NE(panic_of(collinear, both).find("face 5: vertex index 7"), std::string::npos);
    EXPECT_PANIC_KIND(solid_from_triangles(collinear, both, "m"), PanicKind::index);

    Faces open(kTetra.begin(), kTetra.end() - 1);
    EXPECT_NE(panic_of(tetra_points(), open)
                  .find("face 0: the edge from vertex 1 (1, 0, 0) to vertex 2 (0, 1, 0) has 0 triangle(s) running 1->2 "
                        "and 1 the other way; each edge needs one each way (the mesh "
                        "has a hole there)"),
              std::string::npos);
    EXPECT_PANIC_KIND(solid_from_triangles(tetra_points(), open, "m"), PanicKind::not_manifold);

    Faces twisted = kTetra;
    twisted[3] = {1, 3, 2};  // one triangle facing the wrong way
    EXPECT_NE(panic_of(tetra_points(), twisted).find("face 0: the edge from vertex 1"), std::string::npos);
    EXPECT_PANIC_KIND(solid_from_triangles(tetra_points(), twisted, "m"), PanicKind::not_manifold);

    Faces doubled = kTetra;
    doubled.insert(doubled.end(), kTetra.begin(), kTetra.end());
    EXPECT_NE(panic_of(tetra_points(), doubled).find("face 0:"), std::string::npos);
    EXPECT_PANIC_KIND(solid_from_triangles(tetra_points(), doubled, "m"), PanicKind::not_manifold);
}

// A cube shell around a smaller inverted one: a solid with a cavity. Turned
// outward as a whole, the cavity stays a cavity.
TEST(FromTriangles, CavityKeepsFacingIn) {
    TriMesh outer = mesh_of(Solid::cube(4, 4, 4, "o"));
    TriMesh inner = mesh_of(translated(Solid::cube(2, 2, 2, "i"), Vec3{1, 1, 1}));
    std::vector<Vec3> pts = outer.vertices;
    Faces faces;
    for (const auto& t : outer.triangles) faces.push_back({t[0], t[1], t[2]});
    const std::uint64_t base = pts.size();
    pts.insert(pts.end(), inner.vertices.begin(), inner.vertices.end());
    for (const auto& t : inner.triangles) faces.push_back({base + t[0], base + t[2], base + t[1]});
    EXPECT_EQ(volume6(solid_from_triangles(pts, faces, "c").polygons), Rational(6 * 56));
    for (auto& f : faces) std::swap(f[1], f[2]);  // all inside out: flipped back whole
    EXPECT_EQ(volume6(solid_from_triangles(pts, faces, "c").polygons), Rational(6 * 56));
}

TEST(FromTriangles, RoundTripsMeshesOfSolids) {
    Solid touching = Solid::cube(1, 1, 1, "a");
    for (Polygon& p : translated(Solid::cube(1, 1, 1, "b"), Vec3{1, 1, 0}).polygons) touching.polygons.push_back(p);
    for (const Solid& s : {workloads::plate(2), workloads::box_union(6), workloads::chamfered_l_prism(), touching}) {
        TriMesh m = mesh_of(s);
        Faces faces;
        for (const auto& t : m.triangles) faces.push_back({t[0], t[1], t[2]});
        Solid back = solid_from_triangles(m.vertices, faces, "m");
        EXPECT_EQ(volume6(back.polygons), volume6(s.polygons));
        EXPECT_EQ(mesh_of(back).triangles.size(), m.triangles.size());
    }
}

TEST(FromTriangles, IcosphereAndCylinderComeInExactly) {
    const meshes::Mesh sphere = meshes::icosphere(3), tube = meshes::cylinder(1.0, 2.0, 64);
    Solid ball = from_doubles(sphere, "ball");
    Solid can = from_doubles(tube, "can");
    EXPECT_EQ(ball.polygons.size(), 1280u);
    EXPECT_EQ(volume6(ball.polygons), input_volume6(sphere));
    EXPECT_GT(volume6(ball.polygons).sign(), 0);
    EXPECT_EQ(volume6(can.polygons), input_volume6(tube));
    // Their Booleans mesh to closed meshes of the same volume.
    Solid moved = translated(can, Vec3{from_double(0.25), Rational(0), Rational(0)});
    for (BooleanOp op : {BooleanOp::union_, BooleanOp::cut, BooleanOp::intersect}) {
        Solid r = boolean(op, ball, moved);
        TriMesh m = mesh_of(r);
        EXPECT_EQ(testing_mesh::edge_fault(m), "") << static_cast<int>(op);
        EXPECT_EQ(testing_mesh::volume6(m), volume6(r.polygons)) << static_cast<int>(op);
    }
}

}  // namespace
}  // namespace corv
