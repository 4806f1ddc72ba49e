// Seeded random Boolean programs (boxes, prisms and prismatoids of random
// simple outlines and exact transforms from support/random_solids.h, chains
// of all three operations with identical, touching and coplanar operands):
// at every step the localized engine's result is watertight, has the BSP
// result's exact volume and the same point set. Each step starts from the
// BSP engine's previous result (a soup with T-junctions); a second chain
// feeds the local results onward.
#include <gtest/gtest.h>

#include "local/check.h"
#include "support/random_solids.h"

namespace corv {
namespace {

using testing_local::agrees_with_bsp;
using testing_local::op_name;

using testing_random::Rng;

// Operands of simple outlines from support/random_solids.h that are solids
// with volume: inside-out and flat operands become boxes (the BSP engine
// takes a flat operand for empty space or for all of it).
Solid proper_operand(Rng& r, const std::string& prefix) {
    Solid s = testing_random::simple_operand(r, prefix);
    if (volume6(s.polygons).sign() <= 0) s = Solid::cube(2, 1, 1, prefix);
    return s;
}

// Runs program `seed`; returns the number of steps checked.
int run_program(std::uint64_t seed) {
    static const BooleanOp ops[] = {BooleanOp::union_, BooleanOp::cut, BooleanOp::intersect};
    Rng r{seed * 7919u + 5u};
    Solid s = proper_operand(r, "a");
    Solid mine = s;  // the chain of local results
    const int steps = r.between(1, 4);
    if (s.polygons.empty()) return 0;
    for (int i = 0; i < steps; ++i) {
        const BooleanOp op = ops[r.below(3)];
        const Solid other = testing_random::other_operand(r, s, i, 6, proper_operand);
        const Solid bsp = boolean(op, s, other);
        const Solid local = local_boolean(op, s, other);
        EXPECT_TRUE(agrees_with_bsp(local, bsp, true)) << "program " << seed << " step " << i << " " << op_name(op);
        mine = local_boolean(op, mine, other);
        EXPECT_TRUE(watertight_ok(mine)) << "program " << seed << " step " << i;
        EXPECT_EQ(volume6(mine.polygons), volume6(bsp.polygons)) << "program " << seed << " step " << i;
        EXPECT_TRUE(same_shape(mine, local)) << "program " << seed << " step " << i;
        // The BSP engine takes an empty operand for all of space: chains stop there.
        if (bsp.polygons.empty()) return i + 1;
        s = bsp;
    }
    return steps;
}

TEST(LocalPrograms, AgreeWithTheBspEngine) {
    int steps = 0;
    for (std::uint64_t seed = 0; seed < 150; ++seed) steps += run_program(seed);
    EXPECT_GT(steps, 250);
}

TEST(LocalPrograms, ManyMoreAgree) {
    if (testing_local::heavy_skipped()) GTEST_SKIP() << "heavy: left out under the sanitizers";
    int steps = 0;
    for (std::uint64_t seed = 150; seed < 1000; ++seed) steps += run_program(seed);
    EXPECT_GT(steps, 1500);
}

}  // namespace
}  // namespace corv
