// Text-in, text-out entry points for boxes: (six-fold volume, canonical text).
#pragma once

#include <string>
#include <utility>

namespace corv {

using VolumeAndCanonical = std::pair<std::string, std::string>;

VolumeAndCanonical box_form(const std::string& dx, const std::string& dy, const std::string& dz);
VolumeAndCanonical box_boolean(const std::string& dx, const std::string& dy, const std::string& dz,
                               const std::string& ex, const std::string& ey, const std::string& ez,
                               const std::string& tx, const std::string& ty, const std::string& tz,
                               const std::string& op);

}  // namespace corv
