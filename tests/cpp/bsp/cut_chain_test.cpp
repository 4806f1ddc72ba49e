#include "bsp/cut_chain.h"

#include <gtest/gtest.h>

#include "bsp/boolean.h"
#include "support/random_solids.h"
#include "support/support.h"

namespace corv {
namespace {

using test::expect_same_polygons;

// Chains of cuts of random solids by random cutters (coplanar, touching,
// swallowing, flat and inside-out ones among them) against the same cuts as
// separate Booleans, after every prefix of the chain (cutters of all sizes,
// so that both ways of passing a cut on are taken: the kept tree and the
// written-out solid).
TEST(CutChain, GivesWhatOneBooleanPerCutGives) {
    for (std::uint64_t seed = 0; seed < 60; ++seed) {
        testing_random::Rng r{seed};
        const Solid start = testing_random::operand(r, "w");
        std::vector<Solid> cutters;
        const int count = r.between(1, 8);
        for (int i = 0; i < count; ++i) {
            cutters.push_back(r.below(6) == 0 && !cutters.empty() ? cutters[static_cast<std::size_t>(r.below(i))]
                                                                  : testing_random::operand(r, "c"));
        }
        Solid expected = start;
        for (std::size_t n = 1; n <= cutters.size(); ++n) {
            expected = boolean(BooleanOp::cut, expected, cutters[n - 1]);
            bsp::CutChain chain(start);
            for (std::size_t i = 0; i < n; ++i) chain.cut(cutters[i]);
            expect_same_polygons(chain.take(), expected, "seed " + std::to_string(seed) + ", cut " + std::to_string(n));
        }
    }
}

TEST(CutChain, WithoutCutsGivesTheStartBack) {
    const Solid box = Solid::cube(1, 2, 3, "b");
    bsp::CutChain chain(box);
    expect_same_polygons(chain.take(), box, "no cut");
    // An empty start, and a cut that leaves nothing.
    bsp::CutChain empty{Solid{}};
    empty.cut(box);
    expect_same_polygons(empty.take(), boolean(BooleanOp::cut, Solid{}, box), "empty start");
    bsp::CutChain swallowed(box);
    swallowed.cut(Solid::cube(4, 4, 4, "big"));
    swallowed.cut(box);
    const Solid nothing = boolean(BooleanOp::cut, boolean(BooleanOp::cut, box, Solid::cube(4, 4, 4, "big")), box);
    expect_same_polygons(swallowed.take(), nothing, "swallowed");
}

}  // namespace
}  // namespace corv
