#include "bsp/boolean.h"

#include "core/panic.h"

namespace corv {

Solid boolean_impl(std::string_view, const Solid&, const Solid&) { throw Panic("boolean: not built yet"); }

}  // namespace corv
