// Classes of isolated facets: facets whose boxes meet no facet of another
// operand, joined when they share an exact vertex. No other operand's
// surface comes near a class, so one winding query answers for all of it.
#pragma once

#include <cstdint>
#include <vector>

#include "local/facet_soup.h"

namespace corv::local {

// For each facet, the first facet of its class (by index); facets that are
// not isolated are their own class.
std::vector<std::uint32_t> isolated_classes(const FacetSoup& soup, const std::vector<bool>& isolated);

}  // namespace corv::local
