// Polygon: one planar, labelled face; its loop runs counter-clockwise seen
// from the side its normal points to.
#pragma once

#include <string>
#include <vector>

#include "core/plane.h"

namespace corv {

struct Polygon {
    std::vector<Vec3> vertices;
    Plane plane;  // from vertices 0, 1, 2 at construction; pieces keep their parent's
    std::string label;
    std::vector<Float3> float_vertices;  // to_f3 of each vertex, in vertex order

    // Takes ownership of the loop and label; fewer than three vertices throws Panic.
    static Polygon make(std::vector<Vec3> vertices, std::string label);
    // A polygon with a given (inherited) plane; the float copies are computed.
    static Polygon with_plane(std::vector<Vec3> vertices, Plane plane, std::string label);

    // Twice the vector area, summed over the fan from vertex 0; exact.
    Vec3 vector_area2() const;
    // |2 * vector area|^2; zero exactly when the polygon has no area.
    Rational area2() const;
    bool is_degenerate() const;
    // The same face seen from the other side: loop and float copies reversed,
    // plane negated, label kept.
    Polygon flipped() const;
    void flip();
};

}  // namespace corv
