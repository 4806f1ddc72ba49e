// Text-in, text-out calls on boxes: (six-fold volume, canonical text).
#pragma once

#include <string>
#include <utility>

namespace corv::rs_entry {

using VolumeAndCanonical = std::pair<std::string, std::string>;

// The box [0,dx] x [0,dy] x [0,dz] labelled "box".
VolumeAndCanonical box_form(const std::string& dx, const std::string& dy, const std::string& dz);

// Box A of size (dx, dy, dz) op box B of size (ex, ey, ez) moved by (tx, ty,
// tz). The nine numbers are read in that order, the op name after them.
VolumeAndCanonical box_boolean(const std::string& dx, const std::string& dy, const std::string& dz,
                               const std::string& ex, const std::string& ey, const std::string& ez,
                               const std::string& tx, const std::string& ty, const std::string& tz,
                               const std::string& op);

}  // namespace corv::rs_entry
