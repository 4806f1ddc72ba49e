// A solid's pieces: the parts connected through their interiors. Parts that
// touch only along an edge or at a point are separate pieces; a cavity
// belongs to the piece around it.
#pragma once

#include <vector>

#include "core/solid.h"

namespace corv {

// The pieces, largest volume first, each an exact closed solid made of the
// triangles of mesh_of(solid) that bound it (labels kept). The empty solid
// has no pieces; a solid that cannot be meshed throws as mesh_of does.
std::vector<Solid> components(const Solid& solid);

}  // namespace corv
