#include <gtest/gtest.h>

#include "bsp/boolean.h"
#include "core/measures.h"
#include "core/panic.h"
#include "core/transforms.h"
#include "mesh/mesh_checks.h"
#include "support/random_solids.h"
#include "support/workloads.h"
#include "topology/watertight.h"

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

TEST(MeshOf, BenchWorkloads) {
    for (const Solid& s : {workloads::box_cut(), workloads::plate(1), workloads::plate(3), workloads::box_union(12),
                           workloads::chamfered_box(), workloads::chamfered_l_prism()}) {
        TriMesh m = mesh_of(s);
        expect_good_mesh(s, m);
    }
}

// Every result of thousands of random programs: a closed solid with faces
// meshes to a closed mesh of the same volume; anything else is refused with
// a Panic, never a crash.
TEST(MeshOf, RandomPrograms) {
    int meshed = 0, refused = 0;
    for (std::uint64_t seed = 0; seed < 3000; ++seed) {
        testing_random::run_random_program(seed, [&](const Solid& s) {
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
        });
        if (HasFatalFailure()) return;
    }
    EXPECT_GT(meshed, 5000);
    std::printf("meshed %d results, refused %d\n", meshed, refused);
}

}  // namespace
}  // namespace corv
