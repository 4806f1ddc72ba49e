// The float screens of the from_mesh checks: each triangle's corners and
// plane screen kept together (one read per triangle in the pair search),
// the sides of points against a triangle's plane, and a test of two
// triangles' shadows on an axis plane. A screen answers only what its
// doubles prove; 0 or false leaves the question to exact arithmetic.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "core/filtered.h"
#include "core/polygon.h"

namespace corv {

// A triangle's vertex indices into the mesh's points, in its polygon's order.
using Corners = std::array<std::uint64_t, 3>;

// A triangle as the float screens read it: its corners' indices and
// doubles, and the orientation screen of local/filtered.h against its plane
// with what depends on the triangle alone computed once and the bound
// taken for the largest magnitudes of the mesh's doubles (so once too).
struct ScreenedTriangle {
    Corners corners;
    std::array<Float3, 3> f;
    Float3 cross;           // (f1 - f0) x (f2 - f0) in doubles
    double bound = 0;       // the error bound; 0 when the screen cannot be used
    std::uint8_t axis = 0;  // the axis along which cross is largest
    std::int8_t turn = 0;   // the screened orientation of the shadow along it (0: unknown)
};

// The triangles of a mesh, as the from_mesh checks see them. The polygons
// hold the exact planes, with vertex k of polygon t at
// points[screened[t].corners[k]], whose double is floats[...].
struct MeshView {
    const std::vector<Vec3>& points;
    const std::vector<Float3>& floats;
    const std::vector<Polygon>& triangles;
    const std::vector<ScreenedTriangle>& screened;
};

// The screened triangles for the corners of each polygon, in its order.
std::vector<ScreenedTriangle> screened_triangles(const std::vector<Float3>& floats,
                                                 const std::vector<Corners>& corners);

// The screened orientation of (a, b, c) seen along the axis other than i
// and j (filtered::orient2d_sign): 0 when the doubles cannot tell.
inline int orient2d_screen(const Float3& a, const Float3& b, const Float3& c, int i, int j) {
    const auto ui = static_cast<std::size_t>(i), uj = static_cast<std::size_t>(j);
    return filtered::orient2d_sign(a[ui], a[uj], b[ui], b[uj], c[ui], c[uj]);
}

// The side of point d against the plane of triangle s: +1 in front, -1
// behind, 0 when the screen cannot tell.
int screened_side(const ScreenedTriangle& s, const Float3& d);

// Whether, seen along axis k, one of the triangles keeps its area and a
// line keeps their shadows apart: a side of one that keeps its area with
// the other's unshared corners strictly outside and its shared corners (by
// index) on it, or a line through their one shared corner (or between
// them) with the unshared corners of each strictly on its own side. A
// point common to both then lies over a shared corner's shadow, and in the
// triangle that keeps its area (which meets the line along k through any
// of its points only there), is that corner.
bool shadows_apart(const ScreenedTriangle& a, const ScreenedTriangle& b, std::size_t k);

}  // namespace corv
