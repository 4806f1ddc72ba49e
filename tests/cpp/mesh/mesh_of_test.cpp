#include <gtest/gtest.h>

#include "bsp/boolean.h"
#include "builders/prism.h"
#include "canonical/watertight.h"
#include "core/measures.h"
#include "core/panic.h"
#include "core/transforms.h"
#include "mesh/mesh_checks.h"
#include "support/random_solids.h"
#include "support/support.h"
#include "support/workloads.h"

namespace corv {
namespace {

using testing_mesh::edge_fault;

void expect_good_mesh(const Solid& s, const TriMesh& m) {
    EXPECT_EQ(edge_fault(m), "");
    EXPECT_EQ(testing_mesh::volume6(m), volume6(s.polygons));
    EXPECT_TRUE(testing_mesh::all_proper(m));
}

TEST(MeshOf, BoxIsTwelveTriangles) {
    Solid box = Solid::cube(2, 3, 4, "b");
    TriMesh m = mesh_of(box);
    EXPECT_EQ(m.vertices.size(), 8u);
    EXPECT_EQ(m.triangles.size(), 12u);
    expect_good_mesh(box, m);
    EXPECT_EQ(m.label_names.size(), 6u);
}

Solid soup_of_solids(std::initializer_list<Solid> parts) {
    Solid out;
    for (const Solid& s : parts) out.polygons.insert(out.polygons.end(), s.polygons.begin(), s.polygons.end());
    return out;
}

std::string panic_of(const Solid& s) {
    return test::panic_text([&] { mesh_of(s); });
}

TEST(MeshOf, LabelsFollowFaces) {
    TriMesh m = mesh_of(Solid::cube(1, 1, 1, "b"));
    for (std::size_t t = 0; t < m.triangles.size(); ++t) {
        const std::string& name = m.label_names[m.labels[t]];
        for (std::uint32_t v : m.triangles[t]) {
            const Vec3& p = m.vertices[v];
            if (name == "b.bottom") {
                EXPECT_EQ(p.z, Rational(0));
            }
            if (name == "b.top") {
                EXPECT_EQ(p.z, Rational(1));
            }
            if (name == "b.front") {
                EXPECT_EQ(p.y, Rational(0));
            }
            if (name == "b.left") {
                EXPECT_EQ(p.x, Rational(0));
            }
        }
    }
}

// Stored planes are read for grouping only: a top whose first three points
// are in a line (zero stored plane) and an L-shaped face starting at its
// reflex corner (stored plane facing inwards) mesh by their loops.
TEST(MeshOf, LoopsDecideOverStoredPlanes) {
    Solid box = Solid::cube(1, 1, 1, "b");
    const Rational h = Rational(1) / Rational(2);
    box.polygons[1] = Polygon::make({{0, 0, 1}, {h, 0, 1}, {1, 0, 1}, {1, 1, 1}, {0, 1, 1}}, "straight");
    EXPECT_EQ(box.polygons[1].plane.normal, Vec3{});
    TriMesh m = mesh_of(box);
    expect_good_mesh(box, m);
    EXPECT_EQ(m.vertices.size(), 8u);

    Solid l = make_prism({{1, 1}, {1, 2}, {0, 2}, {0, 0}, {2, 0}, {2, 1}}, 1, "l");
    for (Polygon& p : l.polygons) {
        if (p.label == "l.top") p.plane = p.plane.negated();  // as if built from a reflex corner
    }
    TriMesh ml = mesh_of(l);
    expect_good_mesh(l, ml);
    for (std::size_t t = 0; t < ml.triangles.size(); ++t) {
        if (ml.label_names[ml.labels[t]] != "l.top") continue;
        for (std::uint32_t v : ml.triangles[t]) EXPECT_EQ(ml.vertices[v].z, Rational(1));
    }
}

// Two unit boxes side by side, given as one soup: the faces between them
// cancel, coplanar faces merge and the corners in the middle of straight
// edges go, leaving the 2 x 1 x 1 box.
TEST(MeshOf, AdjacentPiecesMergeIntoOneBox) {
    Solid pair = soup_of_solids({Solid::cube(1, 1, 1, "a"), translated(Solid::cube(1, 1, 1, "b"), Vec3{1, 0, 0})});
    TriMesh m = mesh_of(pair);
    EXPECT_EQ(m.vertices.size(), 8u);
    EXPECT_EQ(m.triangles.size(), 12u);
    expect_good_mesh(pair, m);
}

// An L-shaped block whose faces meet split neighbours along their sides:
// the step's corner lies inside the long left edge of the front face.
TEST(MeshOf, TJunctionsBecomeVertices) {
    Solid l = workloads::box_cut();
    TriMesh m = mesh_of(l);
    expect_good_mesh(l, m);
    EXPECT_EQ(m.vertices.size(), 14u);
    Solid step = boolean(BooleanOp::union_, Solid::cube(2, 1, 1, "low"), Solid::cube(1, 1, 2, "high"));
    TriMesh s = mesh_of(step);
    expect_good_mesh(step, s);
    EXPECT_EQ(s.vertices.size(), 12u);
}

// Solids touching along an edge or at a point, and cavities touching
// along an edge: each sheet gets its own copies of the shared points.
TEST(MeshOf, SelfTouchingSolidsSplitTheirVertices) {
    Solid along_edge =
        soup_of_solids({Solid::cube(1, 1, 1, "a"), translated(Solid::cube(1, 1, 1, "b"), Vec3{1, 1, 0})});
    TriMesh e = mesh_of(along_edge);
    expect_good_mesh(along_edge, e);
    EXPECT_EQ(e.vertices.size(), 16u);
    Solid at_point = soup_of_solids({Solid::cube(1, 1, 1, "a"), translated(Solid::cube(1, 1, 1, "b"), Vec3{1, 1, 1})});
    TriMesh p = mesh_of(at_point);
    expect_good_mesh(at_point, p);
    EXPECT_EQ(p.vertices.size(), 16u);
    Solid slab = Solid::cube(4, 4, 4, "s");
    slab = boolean(BooleanOp::cut, slab, translated(Solid::cube(1, 1, 2, "c1"), Vec3{1, 1, 1}));
    slab = boolean(BooleanOp::cut, slab, translated(Solid::cube(1, 1, 2, "c2"), Vec3{2, 2, 1}));
    TriMesh c = mesh_of(slab);
    expect_good_mesh(slab, c);
    EXPECT_EQ(c.vertices.size(), 8u + 16u);
}

TEST(MeshOf, RefusesOpenAndEmptySolids) {
    EXPECT_EQ(panic_of(Solid{}), "mesh: the solid is empty (it has no faces)");
    EXPECT_PANIC_KIND(mesh_of(Solid{}), PanicKind::empty_solid);
    Solid box = Solid::cube(1, 1, 1, "b");
    Solid cancelled = box;
    for (const Polygon& p : box.polygons) cancelled.polygons.push_back(p.flipped());
    EXPECT_EQ(panic_of(cancelled), "mesh: the solid is empty (all its faces cancel)");
    EXPECT_PANIC_KIND(mesh_of(cancelled), PanicKind::empty_solid);
    Solid open = box;
    open.polygons.pop_back();
    EXPECT_NE(panic_of(open).find("not closed: the edge from ("), std::string::npos) << panic_of(open);
    EXPECT_NE(panic_of(open).find("has a hole or a loose face there"), std::string::npos) << panic_of(open);
    EXPECT_PANIC_KIND(mesh_of(open), PanicKind::not_manifold);
    Solid twice = soup_of_solids({box, box});
    EXPECT_NE(panic_of(twice).find("covered more than once"), std::string::npos);
    EXPECT_PANIC_KIND(mesh_of(twice), PanicKind::not_manifold);
    // A top cut in two whose halves miss each other by a sliver.
    Solid gap = box;
    gap.polygons[1] = Polygon::make(
        {{0, 0, 1}, {Rational(1) / Rational(2), 0, 1}, {Rational(1) / Rational(2), 1, 1}, {0, 1, 1}}, "h");
    EXPECT_NE(panic_of(gap).find("not closed"), std::string::npos) << panic_of(gap);
    EXPECT_PANIC_KIND(mesh_of(gap), PanicKind::not_manifold);
}

// Soups that are mostly no solid at all (random triangles on a small grid,
// overlapping and crossing boxes): a mesh that comes out is closed, and
// anything else is a Panic, never a crash.
TEST(MeshOf, ArbitrarySoupsNeverCrash) {
    int meshed = 0;
    for (std::uint64_t seed = 0; seed < 2000; ++seed) {
        testing_random::Rng r{seed + 77};
        Solid soup;
        for (int i = r.between(1, 10); i > 0; --i) {
            if (r.below(3) == 0) {
                Solid box = Solid::cube(r.between(1, 2), r.between(1, 2), r.between(1, 2), "b");
                box = translated(box, Vec3{r.between(0, 1), r.between(0, 1), r.between(0, 1)});
                soup.polygons.insert(soup.polygons.end(), box.polygons.begin(), box.polygons.end());
                continue;
            }
            auto point = [&] { return Vec3{r.between(0, 2), r.between(0, 2), r.between(0, 2)}; };
            Polygon t = Polygon::make({point(), point(), point()}, "t");
            if (!t.is_degenerate()) soup.polygons.push_back(t);
        }
        try {
            TriMesh m = mesh_of(soup);
            ++meshed;
            ASSERT_EQ(edge_fault(m), "") << "seed " << seed;
            ASSERT_EQ(testing_mesh::volume6(m), volume6(soup.polygons)) << "seed " << seed;
        } catch (const Panic&) {}
    }
    EXPECT_GT(meshed, 50);
}

// The 14 x 14 plate with 36 round holes: about the true corners only.
TEST(MeshOf, DrilledPlateIsCompact) {
    Solid plate = workloads::plate(6);
    TriMesh m = mesh_of(plate);
    expect_good_mesh(plate, m);
    EXPECT_EQ(m.vertices.size(), 8u + 36u * 32u);
    EXPECT_LE(m.triangles.size(), plate.polygons.size() / 5);
    EXPECT_EQ(m.triangles.size(), 2460u);
}

TEST(MeshOf, BenchWorkloads) {
    for (const Solid& s : {workloads::box_cut(), workloads::plate(1), workloads::plate(3), workloads::box_union(12),
                           workloads::box_union(48), workloads::chamfered_box(), workloads::chamfered_l_prism()}) {
        TriMesh m = mesh_of(s);
        expect_good_mesh(s, m);
    }
}

// Every result of thousands of random programs (support/random_solids.h,
// with operands of simple outlines): a closed solid with faces meshes to a
// closed mesh of the same volume; anything else is refused with a Panic,
// never a crash.
#if defined(__SANITIZE_ADDRESS__)
constexpr std::uint64_t kPrograms = 500;  // minutes under the sanitizers otherwise
#else
constexpr std::uint64_t kPrograms = 3000;
#endif

TEST(MeshOf, RandomPrograms) {
    int meshed = 0, refused = 0;
    std::uint64_t seed = 0;
    auto check = [&](const Solid& s) {
        try {
            TriMesh m = mesh_of(s);
            ++meshed;
            ASSERT_EQ(edge_fault(m), "") << "seed " << seed;
            ASSERT_EQ(testing_mesh::volume6(m), volume6(s.polygons)) << "seed " << seed;
            ASSERT_TRUE(testing_mesh::all_proper(m)) << "seed " << seed;
        } catch (const Panic& e) {
            ++refused;
            ASSERT_TRUE(!watertight_ok(s) || volume6(s.polygons).is_zero()) << "seed " << seed << ": " << e.what();
        }
    };
    for (; seed < kPrograms; ++seed) {
        try {
            testing_random::random_program(seed, check, testing_random::simple_operand);
        } catch (const Panic&) {
            // The program's Boolean or chamfer failed: it ends there.
        } catch (const ValueFailure&) {}
        if (HasFatalFailure()) return;
    }
    EXPECT_GT(meshed, static_cast<int>(kPrograms));
    std::printf("meshed %d results, refused %d\n", meshed, refused);
}

}  // namespace
}  // namespace corv
