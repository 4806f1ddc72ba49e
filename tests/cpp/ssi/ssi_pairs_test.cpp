#include "ssi/ssi_pairs.h"

#include <gtest/gtest.h>

#include "support/support.h"

namespace corv {
namespace {

Net square_at(std::int64_t z) { return {{{0, 0, z}, {0, 1, z}}, {{1, 0, z}, {1, 1, z}}}; }

TEST(SsiPairsTyped, RectanglesFollowTheGivenDomains) {
    const ParamRect a{0, 2, 0, 1};
    const ParamRect b{Rational(1) / Rational(2), 1, 0, 1};
    const std::vector<PairBoxes> none = ssi_pairs(square_at(0), square_at(0), 0, a, b);
    ASSERT_EQ(none.size(), 1u);
    EXPECT_EQ(none[0], (PairBoxes{0, 2, 0, 1, Rational(1) / Rational(2), 1, 0, 1}));
    // Coplanar squares: every quarter of one meets the matching quarter of
    // the other (and its touching neighbours), halving each domain.
    const std::vector<PairBoxes> one = ssi_pairs(square_at(0), square_at(0), 1, a, b);
    ASSERT_FALSE(one.empty());
    EXPECT_EQ(one[0][1], Rational(1));
    EXPECT_EQ(one[0][5], Rational(3) / Rational(4));
    EXPECT_TRUE(ssi_pairs(square_at(0), square_at(1), 1, {}, {}).empty());
}

}  // namespace
}  // namespace corv
