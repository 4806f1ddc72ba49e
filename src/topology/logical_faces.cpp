#include "topology/logical_faces.h"

#include "core/panic.h"

namespace corv {

std::size_t logical_faces(const Solid&) { throw Panic("logical_faces: not built yet"); }

}  // namespace corv
