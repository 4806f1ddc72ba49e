#include "topology/watertight.h"

#include "core/panic.h"

namespace corv {

bool watertight_ok(const Solid&) { throw Panic("watertight_ok: not built yet"); }

}  // namespace corv
