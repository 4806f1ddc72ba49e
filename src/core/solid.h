// Solid: a polygon soup of outward-facing faces, with no shared topology.
#pragma once

#include <string>
#include <vector>

#include "core/polygon.h"

namespace corv {

struct Solid {
    std::vector<Polygon> polygons;

    // Keeps, in order, the polygons that are not degenerate.
    static Solid make(std::vector<Polygon> polygons);
    // The box [0,dx] x [0,dy] x [0,dz], faces bottom, top, front, back,
    // right, left labelled prefix + "." + name.
    static Solid cube(const Rational& dx, const Rational& dy, const Rational& dz, const std::string& prefix);
    // The same box moved by origin: equal, polygon for polygon, to the cube
    // translated by origin, without building the cube first.
    static Solid cube_at(const Vec3& origin, const Rational& dx, const Rational& dy, const Rational& dz,
                         const std::string& prefix);
};

}  // namespace corv
