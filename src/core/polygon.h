// Polygon: one planar, labelled face; its loop runs counter-clockwise seen
// from the side its normal points to.
#pragma once

#include <string>
#include <vector>

#include "core/plane.h"

namespace corv {

//
// The loop and its double copies are kept together and can only be set
// together (by the constructors and flip), so they always agree.
struct Polygon {
    Plane plane;  // from vertices 0, 1, 2 at construction; pieces keep their parent's
    std::string label;

    // Takes ownership of the loop and label; fewer than three vertices throws Panic.
    static Polygon make(std::vector<Vec3> vertices, std::string label);
    // A polygon with a given (inherited) plane; the float copies are computed.
    static Polygon with_plane(std::vector<Vec3> vertices, Plane plane, std::string label);
    // The same from vertices whose double copies the caller already holds
    // (floats[i] must be to_f3(vertices[i]); builds with assertions check it
    // and throw Panic otherwise).
    static Polygon assemble(std::vector<Vec3> vertices, std::vector<Float3> floats, Plane plane, std::string label);

    const std::vector<Vec3>& vertices() const { return vertices_; }
    // to_f3 of each vertex, in vertex order.
    const std::vector<Float3>& float_vertices() const { return floats_; }

    // Twice the vector area, summed over the fan from vertex 0; exact.
    Vec3 vector_area2() const;
    // |2 * vector area|^2; zero exactly when the polygon has no area.
    Rational area2() const;
    bool is_degenerate() const;
    // The same face seen from the other side: loop and float copies reversed,
    // plane negated, label kept.
    Polygon flipped() const;
    void flip();

private:
    std::vector<Vec3> vertices_;
    std::vector<Float3> floats_;
};

}  // namespace corv
