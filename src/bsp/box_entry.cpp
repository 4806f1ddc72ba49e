#include "bsp/box_entry.h"

#include "core/panic.h"

namespace corv {

VolumeAndCanonical box_form(const std::string&, const std::string&, const std::string&) {
    throw Panic("box_form: not built yet");
}
VolumeAndCanonical box_boolean(const std::string&, const std::string&, const std::string&, const std::string&,
                               const std::string&, const std::string&, const std::string&, const std::string&,
                               const std::string&, const std::string&) {
    throw Panic("box_boolean: not built yet");
}

}  // namespace corv
