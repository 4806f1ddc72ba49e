// The edges of a polygon soup: every polygon side is grouped with all other
// sides on the same infinite line, and a line met by exactly two distinct
// face planes becomes one chamfer Edge.
#pragma once

#include <vector>

#include "core/solid.h"

namespace corv {

struct Edge {
    Vec3 point;      // start vertex of the first side found on the line
    Vec3 dir;        // canonical (integer, gcd 1) direction of the line
    Rational t_min;  // smallest dot(p, dir) over the sides' end points
    Rational t_max;  // largest
    Plane plane_a;   // first face plane met along the line, in polygon order
    Plane plane_b;   // second
};

// The point of the edge's line at position t (t measured by dot(p, dir)).
Vec3 point_at(const Edge& edge, const Rational& t);

// One Edge per line met by exactly two distinct face planes, in ascending
// byte order of the line keys.
std::vector<Edge> logical_edges(const Solid& solid);

}  // namespace corv
