// Merging adjacent coplanar facets of one operand: what may merge, what must
// stay apart, and the loops that come out.
#include <gtest/gtest.h>

#include "local/merge_coplanar.h"

namespace corv::local {
namespace {

Polygon tri(Vec3 a, Vec3 b, Vec3 c, std::string label = "cap") {
    return Polygon::make({std::move(a), std::move(b), std::move(c)}, std::move(label));
}

std::vector<const Polygon*> merged(const std::vector<Polygon>& polygons, std::deque<Polygon>& made) {
    std::vector<const Polygon*> in;
    for (const Polygon& p : polygons) in.push_back(&p);
    return merge_coplanar(in, made);
}

// The fan of a convex n-gon from vertex 0, in the plane z = 1.
std::vector<Polygon> fan(int n) {
    // Points of the parabola y = x^2: a convex loop, counter-clockwise from +z.
    std::vector<Vec3> ring;
    for (int i = 0; i < n; ++i) ring.push_back({Rational(i), Rational(i * i), Rational(1)});
    std::vector<Polygon> out;
    for (std::size_t i = 1; i + 1 < ring.size(); ++i) out.push_back(tri(ring[0], ring[i], ring[i + 1]));
    return out;
}

TEST(MergeCoplanar, AConvexFanBecomesOnePolygonThroughTheSamePoints) {
    std::deque<Polygon> made;
    const std::vector<Polygon> polygons = fan(40);
    // The first triangle is small beside the rest (its box overlaps theirs
    // too little to be worth merging); the other 37 become one polygon.
    const auto out = merged(polygons, made);
    ASSERT_EQ(out.size(), 2u);
    EXPECT_EQ(out[1]->vertices().size(), 39u);
    Vec3 area{0, 0, 0}, merged_area{0, 0, 0};
    for (const Polygon& p : polygons) area = add(area, p.vector_area2());
    for (const Polygon* p : out) merged_area = add(merged_area, p->vector_area2());
    EXPECT_EQ(merged_area, area);
    EXPECT_EQ(out[1]->label, "cap");
}

TEST(MergeCoplanar, ReflexCornersLabelsAndTJunctionsKeepFacetsApart) {
    // The fan from (0, 0) of an L with a reflex corner at (1, 1), its far
    // sides cut into tenths: mostly slivers, which come out in a few convex
    // pieces, at least two.
    auto p = [](int x, int y) { return Vec3{Rational(x), Rational(y), Rational(0)}; };
    auto tenth = [](int x, int y) { return Vec3{Rational(x) / Rational(10), Rational(y) / Rational(10), Rational(0)}; };
    std::vector<Vec3> rim;
    for (int k = 0; k < 10; ++k) rim.push_back(tenth(20, k));
    for (int k = 0; k < 10; ++k) rim.push_back(tenth(20 - k, 10));
    for (int k = 0; k < 10; ++k) rim.push_back(tenth(10, 10 + k));
    for (int k = 0; k <= 10; ++k) rim.push_back(tenth(10 - k, 20));
    std::vector<Polygon> l_shape;
    for (std::size_t k = 0; k + 1 < rim.size(); ++k) l_shape.push_back(tri(p(0, 0), rim[k], rim[k + 1]));
    std::deque<Polygon> made;
    const auto out = merged(l_shape, made);
    EXPECT_GE(out.size(), 2u);
    EXPECT_LT(out.size(), l_shape.size() / 2);
    Vec3 area{0, 0, 0};
    for (const Polygon* q : out) {
        area = add(area, q->vector_area2());
        const auto& v = q->vertices();
        for (std::size_t i = 0; i < v.size(); ++i) {  // convex: no right turn seen from +z
            const Vec3 e1 = sub(v[(i + 1) % v.size()], v[i]), e2 = sub(v[(i + 2) % v.size()], v[(i + 1) % v.size()]);
            EXPECT_GE(cross(e1, e2).z.sign(), 0);
        }
        EXPECT_NE(cross(sub(v[1], v[0]), sub(v[2], v[1])).z.sign(), 0);  // starts before a strict corner
    }
    EXPECT_EQ(area, (Vec3{Rational(0), Rational(0), Rational(6)}));
    // Another label, another plane and a T-junction keep facets apart.
    const std::vector<Polygon> apart = {tri(p(0, 0), p(2, 0), p(0, 2)), tri(p(0, 2), p(2, 0), p(2, 2), "other"),
                                        tri(p(0, 0), p(0, 2), Vec3{Rational(-1), Rational(1), Rational(1)}),
                                        tri(p(2, 0), p(1, 0), p(1, -1))};
    made.clear();
    EXPECT_EQ(merged(apart, made).size(), 4u);
    EXPECT_TRUE(made.empty());
}

}  // namespace
}  // namespace corv::local
