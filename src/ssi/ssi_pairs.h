// Lockstep subdivision of two rational Bezier patches: the pairs of
// parameter rectangles whose exact control-point boxes still meet.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <vector>

#include "core/texts.h"

namespace corv {

using PairRow = std::array<std::string, 8>;  // au0, au1, av0, av1, bu0, bu1, bv0, bv1

std::vector<PairRow> ssi_pairs(const TextNet& net_a, const TextNet& net_b, std::uint64_t depth,
                               const std::optional<Texts>& a_box, const std::optional<Texts>& b_box);

}  // namespace corv
