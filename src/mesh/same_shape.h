// Whether two solids are the same point set, decided from their boundaries
// alone. A closed, consistently oriented polygon soup is determined by its
// boundary as a sum of oriented pieces of planes: in each plane, the signed
// coverage of its polygons (+1 where a loop runs counter-clockwise seen
// from along the plane's canonical normal, -1 where it runs clockwise). Two
// solids are the same exactly when, in every plane, the coverage of the one
// minus that of the other is zero everywhere, and a coverage is zero exactly
// when its net boundary (the polygons' sides, cut at every breakpoint on
// their lines and summed with their directions) is empty.
//
// Nothing here classifies a point against a solid, so no Boolean engine's
// answer is taken on trust: a result that is open, covers a face twice or
// misses one differs from a correct solid of the same point set.
#pragma once

#include "core/solid.h"

namespace corv {

bool same_shape(const Solid& a, const Solid& b);

}  // namespace corv
