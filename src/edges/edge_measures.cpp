#include "edges/edge_measures.h"

#include <cmath>
#include <numbers>

namespace corv {

Vec3 edge_direction(const SolidEdge& edge) { return sub(edge.end, edge.start); }

Vec3 inward(const SolidEdge& edge, int i) {
    const Vec3 dir = edge_direction(edge);
    const Vec3& n = edge.faces[static_cast<std::size_t>(i)].plane.normal;
    return i == 0 ? cross(n, dir) : cross(dir, n);
}

double interior_angle_degrees(const SolidEdge& edge) {
    // Turning about the edge from face 1's inward direction to face 0's
    // sweeps the solid: sin and cos of that turn, each times |w0| |w1|
    // (and the sine once more times |dir|).
    const Vec3 dir = edge_direction(edge);
    const Vec3 w0 = inward(edge, 0), w1 = inward(edge, 1);
    const double s = dot(dir, cross(w1, w0)).to_double() / std::sqrt(dot(dir, dir).to_double());
    const double c = dot(w1, w0).to_double();
    double angle = std::atan2(s, c) * 180.0 / std::numbers::pi;
    if (angle <= 0) angle += 360.0;
    return angle;
}

double edge_length(const SolidEdge& edge) {
    const Vec3 dir = edge_direction(edge);
    return std::sqrt(dot(dir, dir).to_double());
}

std::string edge_text(const SolidEdge& edge) {
    std::string text = plain_point_text(edge.start);
    text += " to ";
    text += plain_point_text(edge.end);
    return text;
}

}  // namespace corv
