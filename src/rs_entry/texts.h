// Number texts as they arrive from the caller, before parse_r reads them.
#pragma once

#include <string>
#include <vector>

namespace corv::rs_entry {

using Texts = std::vector<std::string>;  // a flat list of number texts
using TextRows = std::vector<Texts>;     // e.g. control points
using TextNet = std::vector<TextRows>;   // e.g. a control net: rows of points

}  // namespace corv::rs_entry
