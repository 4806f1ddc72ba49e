#include "core/vec3.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

#include "support/support.h"

namespace corv {
namespace {

TEST(Vec3, IndexReadsAndWritesEachCoordinateAndRefusesTheRest) {
    Vec3 p{1, 2, 3};
    EXPECT_EQ(p[0], Rational(1));
    EXPECT_EQ(p[1], Rational(2));
    EXPECT_EQ(p[2], Rational(3));
    p[2] = Rational(7);
    EXPECT_EQ(p.z, Rational(7));
    const Vec3& c = p;
    EXPECT_PANIC_KIND(c[3], PanicKind::index);
    EXPECT_PANIC_KIND(p[3] = Rational(0), PanicKind::index);
    EXPECT_PANIC_KIND(c[static_cast<std::size_t>(-1)], PanicKind::index);
    EXPECT_EQ(p, (Vec3{1, 2, 7}));  // the refused writes changed nothing
}

TEST(PanicKind, EveryKindHasItsOwnName) {
    const PanicKind kinds[] = {PanicKind::parse,
                               PanicKind::zero_denominator,
                               PanicKind::division_by_zero,
                               PanicKind::index,
                               PanicKind::unknown_op,
                               PanicKind::empty_solid,
                               PanicKind::too_few_vertices,
                               PanicKind::bad_shape,
                               PanicKind::invalid_argument,
                               PanicKind::not_manifold,
                               PanicKind::corrupt_data};
    std::set<std::string> names;
    for (PanicKind k : kinds) names.insert(kind_name(k));
    EXPECT_EQ(names.size(), std::size(kinds));
    EXPECT_STREQ(kind_name(PanicKind::zero_denominator), "zero_denominator");
}

}  // namespace
}  // namespace corv
