#include "core/polygon.h"

#include <algorithm>
#include <cmath>

#include "core/filtered.h"
#include "core/panic.h"

namespace corv {
namespace {

std::vector<Float3> float_copy(const std::vector<Vec3>& vertices) {
    std::vector<Float3> out;
    out.reserve(vertices.size());
    for (const Vec3& v : vertices) out.push_back(to_f3(v));
    return out;
}

}  // namespace

Polygon Polygon::make(std::vector<Vec3> vertices, std::string label) {
    if (vertices.size() < 3) {
        throw Panic(PanicKind::too_few_vertices,
                    "a polygon needs at least three vertices, got " + std::to_string(vertices.size()));
    }
    Plane plane = Plane::from_points(vertices[0], vertices[1], vertices[2]);
    return with_plane(std::move(vertices), std::move(plane), std::move(label));
}

Polygon Polygon::with_plane(std::vector<Vec3> vertices, Plane plane, std::string label) {
    Polygon p;
    p.floats_ = float_copy(vertices);
    p.vertices_ = std::move(vertices);
    p.plane = std::move(plane);
    p.label = std::move(label);
    return p;
}

Polygon Polygon::assemble(std::vector<Vec3> vertices, std::vector<Float3> floats, Plane plane, std::string label) {
#ifndef NDEBUG
    bool agree = floats.size() == vertices.size();
    for (std::size_t i = 0; agree && i < vertices.size(); ++i) agree = floats[i] == to_f3(vertices[i]);
    if (!agree) throw Panic(PanicKind::invalid_argument, "a polygon's double copies differ from its vertices");
#endif
    Polygon p;
    p.vertices_ = std::move(vertices);
    p.floats_ = std::move(floats);
    p.plane = std::move(plane);
    p.label = std::move(label);
    return p;
}

Vec3 Polygon::vector_area2() const {
    if (vertices_.empty()) throw Panic(PanicKind::too_few_vertices, "area of a polygon without vertices");
    Vec3 s{0, 0, 0};
    const Vec3& o = vertices_[0];
    for (std::size_t i = 1; i + 1 < vertices_.size(); ++i) {
        s = add(s, cross(sub(vertices_[i], o), sub(vertices_[i + 1], o)));
    }
    return s;
}

Rational Polygon::area2() const {
    Vec3 s = vector_area2();
    return dot(s, s);
}

bool Polygon::is_degenerate() const {
    if (vertices_.size() < 3) return true;
    if (filtered::floats_prove_area(floats_.size(), [&](std::size_t k) -> const Float3& { return floats_[k]; }))
        return false;
    ++filtered::fallbacks().area;
    // Exact: the squared length is zero exactly when every component is zero.
    Vec3 s = vector_area2();
    return s.x.is_zero() && s.y.is_zero() && s.z.is_zero();
}

Polygon Polygon::flipped() const {
    Polygon p = *this;
    p.flip();
    return p;
}

void Polygon::flip() {
    std::reverse(vertices_.begin(), vertices_.end());
    std::reverse(floats_.begin(), floats_.end());
    plane = plane.negated();
}

}  // namespace corv
