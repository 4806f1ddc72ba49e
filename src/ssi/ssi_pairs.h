// Lockstep subdivision of two rational Bezier patches: the pairs of
// parameter rectangles whose exact control-point boxes still meet.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "ssi/rpatch.h"

namespace corv {

// A rectangle [u0, u1] x [v0, v1] of a patch's parameter domain.
struct ParamRect {
    Rational u0 = 0, u1 = 1, v0 = 0, v1 = 1;
};

using PairBoxes = std::array<Rational, 8>;  // au0, au1, av0, av1, bu0, bu1, bv0, bv1

// The parameter rectangles of the leaf pairs that survive depth rounds of
// subdivision, for patches a and b covering a_box and b_box; empty when the
// patches are certified not to meet.
std::vector<PairBoxes> ssi_pairs(Net net_a, Net net_b, std::uint64_t depth, ParamRect a_box, ParamRect b_box);

}  // namespace corv
