// The patch intersection screen from number texts.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "rs_entry/texts.h"
#include "ssi/rpatch.h"

namespace corv::rs_entry {

using PairRow = std::array<std::string, 8>;  // au0, au1, av0, av1, bu0, bu1, bv0, bv1, as texts n/d

// Every number text of a control net, keeping nesting and order.
Net parse_net(const TextNet& texts);

// Reads a_box (its length checked first), b_box, then net_a and net_b; a
// missing box is the unit square.
std::vector<PairRow> ssi_pairs(const TextNet& net_a, const TextNet& net_b, std::uint64_t depth,
                               const std::optional<Texts>& a_box, const std::optional<Texts>& b_box);

}  // namespace corv::rs_entry
