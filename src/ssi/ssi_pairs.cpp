#include "ssi/ssi_pairs.h"

#include "core/panic.h"

namespace corv {

std::vector<PairRow> ssi_pairs(const TextNet&, const TextNet&, std::uint64_t, const std::optional<Texts>&,
                               const std::optional<Texts>&) {
    throw Panic("ssi_pairs: not built yet");
}

}  // namespace corv
