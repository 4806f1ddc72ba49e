// Pairs every triangle side with one running the other way and gives each
// sheet of the surface its own copies of the vertices where the solid
// touches itself (along an edge or at a single point), so that every edge of
// the result has exactly two triangles, one each way.
#pragma once

#include <vector>

#include "mesh/triangulate.h"

namespace corv::mesh {

// Rewrites the triangles' vertex indices; copies of split vertices are
// appended to points (and fpoints). An edge with more triangles one way
// than the other (an open solid) throws Panic (not_manifold).
//
// Around an edge the sides must alternate in direction by angle. Where
// they do not (a face passes flat through the edge: see slits.h), the
// edge is added to `crossed` when it is given, and nothing is changed
// (false is returned); without it that throws Panic (not_manifold).
bool manifold_split(std::vector<Vec3>& points, std::vector<Float3>& fpoints, std::vector<Triangle>& triangles,
                    std::vector<Edge>* crossed = nullptr);

}  // namespace corv::mesh
