#include "core/filtered.h"

namespace corv::filtered {

Fallbacks& fallbacks() noexcept {
    thread_local Fallbacks counts;
    return counts;
}

}  // namespace corv::filtered
