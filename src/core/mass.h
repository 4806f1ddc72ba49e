// Exact mass properties of a solid of density 1: its volume and the first
// and second moments of its interior, by the divergence theorem over its
// polygons (each fanned into triangles, each triangle with the origin a
// signed tetrahedron). The area of the surface is a float: the area of a
// tilted polygon is a square root.
#pragma once

#include <array>

#include "core/solid.h"

namespace corv {

struct Moments {
    Rational volume;                   // the integral of 1
    Vec3 first;                        // of x, y and z
    std::array<Rational, 6> second{};  // of xx, yy, zz, xy, yz, zx
};

Moments moments(const Solid& s);

// The sum of the polygons' areas, each rounded once from its exact square.
double surface_area(const Solid& s);

}  // namespace corv
