#include <gtest/gtest.h>

#include <cmath>
#include <map>

#include "bsp/boolean.h"
#include "canonical/watertight.h"
#include "core/exact_double.h"
#include "core/measures.h"
#include "core/transforms.h"
#include "mesh/fans.h"
#include "mesh/from_triangles.h"
#include "mesh/mesh_of.h"
#include "mesh/same_shape.h"
#include "mesh/self_crossing.h"
#include "support/meshes.h"
#include "support/random_solids.h"
#include "support/support.h"

namespace corv {
namespace {

using testing_random::Rng;

// A mesh put together from parts.
struct Parts {
    std::vector<Vec3> points;
    std::vector<Corners> faces;

    void add(const std::vector<Vec3>& pts, const std::vector<Corners>& tris, bool inward = false) {
        const std::uint64_t base = points.size();
        points.insert(points.end(), pts.begin(), pts.end());
        for (const Corners& t : tris)
            faces.push_back({base + t[0], base + t[inward ? 2 : 1], base + t[inward ? 1 : 2]});
    }
    void add(const Solid& s, bool inward = false) {
        const TriMesh m = mesh_of(s);
        std::vector<Corners> tris;
        for (const auto& t : m.triangles) tris.push_back({t[0], t[1], t[2]});
        add(m.vertices, tris, inward);
    }
    Solid build(SelfCrossing c = SelfCrossing::refuse) const { return solid_from_triangles(points, faces, "m", c); }
    std::string refusal() const {
        return test::panic_text([&] { build(); });
    }
};

Solid box(int x, int y, int z, int side) { return Solid::cube_at(Vec3{x, y, z}, side, side, side, "b"); }

// The surface of [0, n]^3 + o cut into unit squares, two triangles each.
void add_grid_box(Parts& m, const Vec3& o, int n) {
    std::map<std::array<int, 3>, std::uint64_t> index;
    auto at = [&](std::array<int, 3> c) {
        auto [it, fresh] = index.try_emplace(c, m.points.size());
        if (fresh) m.points.push_back(add(o, Vec3{c[0], c[1], c[2]}));
        return it->second;
    };
    for (std::size_t a = 0; a < 3; ++a) {
        for (int side : {0, n}) {
            for (int u = 0; u < n; ++u) {
                for (int v = 0; v < n; ++v) {
                    std::uint64_t q[4];
                    for (int k = 0; k < 4; ++k) {
                        std::array<int, 3> c{};
                        c[a] = side;
                        c[(a + 1) % 3] = u + (k == 1 || k == 2);
                        c[(a + 2) % 3] = v + (k >= 2);
                        q[k] = at(c);
                    }
                    const bool out = side == n;
                    m.faces.push_back({q[0], q[out ? 1 : 2], q[out ? 2 : 1]});
                    m.faces.push_back({q[0], q[out ? 2 : 3], q[out ? 3 : 2]});
                }
            }
        }
    }
}

// The contact of two triangles given by corner indices into `pool`.
Contact contact_in(const std::vector<Vec3>& pool, Corners a, Corners b, int* shared = nullptr) {
    std::vector<Float3> f;
    for (const Vec3& p : pool) f.push_back(to_f3(p));
    const std::vector<Corners> corners{a, b};
    std::vector<Polygon> tris;
    for (const Corners& c : corners) tris.push_back(Polygon::make({pool[c[0]], pool[c[1]], pool[c[2]]}, "t"));
    const auto screened = screened_triangles(f, corners);
    const MeshView view{pool, f, tris, screened};
    if (shared == nullptr) return triangle_contact(view, 0, 1);
    return chord_contact(view, 0, 1, *shared);
}

// On a coarse grid (corners on each other's planes and sides, shared by
// index or not) the predicate path agrees with the exact chords wherever
// the planes cross, both ways round; every kind of contact turns up.
TEST(TriangleContact, AgreesWithExactChords) {
    Rng r{7};
    int seen[4] = {0, 0, 0, 0};
    for (int round = 0; round < 4000; ++round) {
        std::vector<Vec3> pool;
        for (int i = 0; i < 6; ++i) pool.push_back(Vec3{r.between(-2, 2), r.between(-2, 2), r.between(-1, 1)});
        Corners t[2];
        for (Corners& c : t) c = {std::uint64_t(r.below(6)), std::uint64_t(r.below(6)), std::uint64_t(r.below(6))};
        const Vec3 na = Plane::from_points(pool[t[0][0]], pool[t[0][1]], pool[t[0][2]]).normal;
        const Vec3 nb = Plane::from_points(pool[t[1][0]], pool[t[1][1]], pool[t[1][2]]).normal;
        if (na == Vec3{} || nb == Vec3{} || cross(na, nb) == Vec3{}) continue;
        int shared = 0;
        for (auto x : t[0]) shared += x == t[1][0] || x == t[1][1] || x == t[1][2];
        if (pool[t[0][0]] == pool[t[0][1]] || shared == 3) continue;
        const Contact want = contact_in(pool, t[0], t[1], &shared);
        ASSERT_EQ(contact_in(pool, t[0], t[1]), want) << round;
        ASSERT_EQ(contact_in(pool, t[1], t[0]), want) << round;
        ++seen[static_cast<int>(want)];
    }
    for (int k = 0; k < 4; ++k) EXPECT_GT(seen[k], 20) << k;
}

TEST(TriangleContact, InOnePlane) {
    const std::vector<Vec3> p{{0, 0, 0}, {2, 0, 0}, {2, 2, 0}, {0, 2, 0}, {1, 1, 0}, {4, 0, 0}, {2, 0, 0}, {3, 1, 0}};
    EXPECT_EQ(contact_in(p, {0, 1, 2}, {3, 4, 5}), Contact::cross);     // overlapping, no corner shared
    EXPECT_EQ(contact_in(p, {0, 1, 2}, {0, 2, 3}), Contact::adjacent);  // a square's halves
    EXPECT_EQ(contact_in(p, {0, 1, 2}, {0, 4, 1}), Contact::cross);     // folded onto each other
    EXPECT_EQ(contact_in(p, {0, 1, 2}, {2, 1, 0}), Contact::cross);     // one triangle both ways
    EXPECT_EQ(contact_in(p, {0, 1, 3}, {4, 5, 2}), Contact::touch);     // a corner on a side
    EXPECT_EQ(contact_in(p, {0, 1, 2}, {6, 5, 7}), Contact::touch);     // a corner by another copy
    EXPECT_EQ(contact_in(p, {0, 1, 3}, {1, 5, 2}), Contact::adjacent);
    EXPECT_EQ(contact_in(p, {0, 4, 3}, {0, 1, 2}), Contact::touch);  // a shared corner, a side along another
    EXPECT_EQ(contact_in(p, {6, 5, 7}, {0, 4, 3}), Contact::apart);
}

// Two boxes of side 2 overlapping in a unit cube: the mesh encloses 8 + 8
// - 1 = 15, but counts 16.
TEST(FromMeshCrossings, OverlappingBoxesAreRefusedOrResolved) {
    Parts m;
    m.add(box(0, 0, 0, 2));
    m.add(box(1, 1, 1, 2));
    const std::string why = m.refusal();
    EXPECT_NE(
        why.find("from_mesh: face 3 (2, 2, 2), (0, 2, 2), (2, 0, 2) and face 16 (3, 1, 1), (1, 1, 3), (1, 1, 1) "),
        std::string::npos)
        << why;
    EXPECT_NE(why.find("cross each other: the mesh passes through itself there; pass resolve=True"), std::string::npos);
    EXPECT_PANIC_KIND(m.build(), PanicKind::not_manifold);
    const Solid whole = m.build(SelfCrossing::resolve);
    EXPECT_EQ(volume6(whole.polygons), Rational(90));
    EXPECT_TRUE(same_shape(whole, boolean(BooleanOp::union_, box(0, 0, 0, 2), box(1, 1, 1, 2))));
    Parts again;
    again.add(whole);  // meshes, and comes back in as a valid mesh
    EXPECT_EQ(volume6(again.build().polygons), Rational(90));
}

// Boxes whose surfaces cross only along the sides of their triangles: no
// two triangles cross inside both, but the touches are where the mesh
// passes through itself.
TEST(FromMeshCrossings, CrossingsAlongSidesAreCaught) {
    Parts m;
    add_grid_box(m, Vec3{0, 0, 0}, 2);
    ASSERT_EQ(m.refusal(), "(no panic)");
    add_grid_box(m, Vec3{1, 1, 1}, 2);
    EXPECT_NE(m.refusal().find(" touch, and the mesh passes through itself where they meet"), std::string::npos)
        << m.refusal();
    EXPECT_TRUE(
        same_shape(m.build(SelfCrossing::resolve), boolean(BooleanOp::union_, box(0, 0, 0, 2), box(1, 1, 1, 2))));
}

TEST(FromMeshCrossings, TouchingPartsPass) {
    Parts edge, corner;
    edge.add(box(0, 0, 0, 1));
    edge.add(box(1, 1, 0, 1));  // along an edge, each with its own points
    EXPECT_EQ(volume6(edge.build().polygons), Rational(12));
    corner.add(box(0, 0, 0, 1));
    corner.add(box(1, 1, 1, 1));
    EXPECT_EQ(volume6(corner.build().polygons), Rational(12));
    // The corner (1, 1, 1) shared by index: no longer separate copies.
    const std::uint64_t second = mesh_of(box(0, 0, 0, 1)).vertices.size();
    for (std::uint64_t v = second; v < corner.points.size(); ++v) {
        if (corner.points[v] != Vec3{1, 1, 1}) continue;
        for (std::uint64_t u = 0; u < second; ++u) {
            if (corner.points[u] != Vec3{1, 1, 1}) continue;
            for (Corners& f : corner.faces) std::replace(f.begin(), f.end(), v, u);
        }
    }
    EXPECT_EQ(volume6(corner.build().polygons), Rational(12));
    Parts faces;  // face to face: coplanar triangles overlap
    faces.add(box(0, 0, 0, 1));
    faces.add(box(1, 0, 0, 1));
    EXPECT_NE(faces.refusal().find("overlap in one plane"), std::string::npos);
    EXPECT_TRUE(same_shape(faces.build(SelfCrossing::resolve), Solid::cube(2, 1, 1, "b")));
}

TEST(FromMeshCrossings, ShellsNestAsASolidsDo) {
    Parts cavity, nested, loose;
    cavity.add(box(0, 0, 0, 4));
    cavity.add(box(1, 1, 1, 2), true);
    EXPECT_EQ(volume6(cavity.build().polygons), Rational(6 * 56));
    nested.add(box(0, 0, 0, 4));
    nested.add(box(1, 1, 1, 2));
    EXPECT_NE(nested.refusal().find("the shell of face 12, facing outward, lies inside the shell of face 0, "
                                    "facing outward, so the mesh's winding number is 2 next to it"),
              std::string::npos)
        << nested.refusal();
    EXPECT_TRUE(same_shape(nested.build(SelfCrossing::resolve), box(0, 0, 0, 4)));
    loose.add(box(0, 0, 0, 4));
    loose.add(box(5, 0, 0, 2), true);
    EXPECT_NE(loose.refusal().find("the shell of face 12, facing inward, lies inside no shell facing outward"),
              std::string::npos);
}

// The apex of a cone over a rim that winds once has a plain fan; over a
// rim that winds twice (climbing, so that the rim does not cross itself),
// its triangles lie over each other, and the pairs at the apex are checked.
TEST(FromMeshCrossings, FansWindingTwiceAreNotPlain) {
    const double pi = std::acos(-1.0);
    for (int turns : {1, 2}) {
        std::vector<Float3> f{{0, 0, 2}};
        std::vector<Corners> fan;
        for (int i = 0; i < 6; ++i) {
            const double a = 2 * pi * turns * i / 6 + 0.03 * i;  // no rim corner opposite another
            f.push_back({std::cos(a), std::sin(a), 0.25 * std::min(i, 6 - i)});
            fan.push_back({0, 1 + std::uint64_t(i), 1 + std::uint64_t(i + 1) % 6});
        }
        EXPECT_EQ(plain_fans(f.size(), screened_triangles(f, fan))[0], turns == 1 ? 1 : 0) << turns;
    }
}

// A vertex of a closed mesh pushed through to the far side: its triangles
// cross the far side, and resolving gives a closed solid.
TEST(FromMeshCrossings, VertexPushedThroughIsCaught) {
    const meshes::Mesh shapes[] = {meshes::icosphere(2), meshes::torus(1.0, 0.4, 12, 8), meshes::cylinder(1, 2, 12)};
    for (const meshes::Mesh& shape : shapes) {
        Parts whole;
        whole.add(meshes::exact_points(shape), shape.triangles);
        ASSERT_EQ(whole.refusal(), "(no panic)");
        for (std::size_t v = 0; v < whole.points.size(); v += 13) {
            Parts pushed = whole;
            pushed.points[v] = smul(testing_random::q(-5, 4), pushed.points[v]);
            EXPECT_NE(pushed.refusal().find("through itself"), std::string::npos) << v;
            EXPECT_TRUE(watertight_ok(pushed.build(SelfCrossing::resolve))) << v;
        }
    }
}

// Meshes of random Boolean results pass as they are (their touching parts
// included); with a moved copy in the same mesh, they are refused when the
// two overlap, and resolve to the union.
TEST(FromMeshCrossings, RandomSolidsAndTheirCopies) {
    int overlapping = 0;
    for (std::uint64_t seed = 0; seed < 60; ++seed) {
        testing_random::random_program(
            seed,
            [&](const Solid& s) {
                if (volume6(s.polygons).sign() <= 0) return;  // inside out: the engines differ there
                Parts one, two;
                try {
                    one.add(s);
                } catch (const Panic&) {
                    return;  // empty or not closed
                }
                ASSERT_EQ(one.refusal(), "(no panic)") << seed;
                Rng r{seed};
                const Solid moved = translated(
                    s, Vec3{testing_random::q(r.between(-3, 3), 4), testing_random::q(r.between(-3, 3), 4), 0});
                two.add(s);
                two.add(moved);
                const Solid both = boolean(BooleanOp::intersect, s, moved);
                if (!both.polygons.empty() && volume6(both.polygons).sign() > 0) {
                    ++overlapping;
                    EXPECT_NE(two.refusal(), "(no panic)") << seed;
                }
                EXPECT_TRUE(same_shape(two.build(SelfCrossing::resolve), boolean(BooleanOp::union_, s, moved))) << seed;
            },
            testing_random::simple_operand);
    }
    EXPECT_GT(overlapping, 30);
}

TEST(FromMeshCrossings, OpenMeshesCountTheirHoles) {
    Parts m;
    m.add(box(0, 0, 0, 1));
    const Corners first = m.faces[0];
    m.faces.erase(m.faces.begin());
    EXPECT_NE(m.refusal().find("(the mesh has a hole there); the mesh has 1 hole"), std::string::npos);
    m.faces.erase(std::find_if(m.faces.begin(), m.faces.end(), [&](const Corners& f) {
        return std::none_of(f.begin(), f.end(), [&](std::uint64_t v) { return std::ranges::count(first, v) > 0; });
    }));
    EXPECT_NE(m.refusal().find("; the mesh has 2 holes"), std::string::npos) << m.refusal();
    EXPECT_PANIC_KIND(m.build(SelfCrossing::resolve), PanicKind::not_manifold);
}

}  // namespace
}  // namespace corv
