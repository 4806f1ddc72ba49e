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

void Polygon::set_bounds(Loop& loop) {
    if (loop.floats.empty()) return;
    loop.low = loop.high = loop.floats[0];
    for (const Float3& f : loop.floats) widen(loop.low, loop.high, f);
}

Polygon Polygon::make(std::vector<Vec3> vertices, std::string label) {
    if (vertices.size() < 3) {
        throw Panic(PanicKind::too_few_vertices,
                    "a polygon needs at least three vertices, got " + std::to_string(vertices.size()));
    }
    Plane plane = Plane::from_points(vertices[0], vertices[1], vertices[2]);
    return with_plane(std::move(vertices), std::move(plane), std::move(label));
}

const Polygon::Loop& Polygon::empty_loop() {
    static const Loop empty;
    return empty;
}

void Polygon::set_loop(std::vector<Vec3>&& vertices, std::vector<Float3>&& floats, std::uint8_t area) {
    auto loop = std::make_shared<Loop>();
    loop->vertices = std::move(vertices);
    loop->floats = std::move(floats);
    set_bounds(*loop);
    loop->area.store(area, std::memory_order_relaxed);
    loop_ = std::move(loop);
}

Polygon Polygon::with_plane(std::vector<Vec3> vertices, Plane plane, std::string label) {
    Polygon p;
    std::vector<Float3> floats = float_copy(vertices);
    p.set_loop(std::move(vertices), std::move(floats), kAreaUnknown);
    p.plane = std::move(plane);
    p.label = std::move(label);
    return p;
}

Polygon Polygon::assemble(std::vector<Vec3> vertices, std::vector<Float3> floats, Plane plane, std::string label,
                          bool has_area) {
#ifndef NDEBUG
    bool agree = floats.size() == vertices.size();
    for (std::size_t i = 0; agree && i < vertices.size(); ++i) agree = floats[i] == to_f3(vertices[i]);
    if (!agree) throw Panic(PanicKind::invalid_argument, "a polygon's double copies differ from its vertices");
#endif
    Polygon p;
    p.set_loop(std::move(vertices), std::move(floats), has_area ? kHasArea : kAreaUnknown);
    p.plane = std::move(plane);
    p.label = std::move(label);
    return p;
}

Vec3 Polygon::vector_area2() const {
    const std::vector<Vec3>& v = vertices();
    if (v.empty()) throw Panic(PanicKind::too_few_vertices, "area of a polygon without vertices");
    Vec3 s{0, 0, 0};
    const Vec3& o = v[0];
    for (std::size_t i = 1; i + 1 < v.size(); ++i) s = add(s, cross(sub(v[i], o), sub(v[i + 1], o)));
    return s;
}

Rational Polygon::area2() const {
    Vec3 s = vector_area2();
    return dot(s, s);
}

bool Polygon::is_degenerate() const {
    const Loop& l = loop();
    if (l.vertices.size() < 3) return true;
    const std::uint8_t known = l.area.load(std::memory_order_relaxed);
    if (known != kAreaUnknown) return known == kNoArea;
    bool degenerate = false;
    if (!filtered::floats_prove_area(l.floats.size(), [&](std::size_t k) -> const Float3& { return l.floats[k]; })) {
        ++filtered::fallbacks().area;
        // Exact: the squared length is zero exactly when every component is zero.
        Vec3 s = vector_area2();
        degenerate = s.x.is_zero() && s.y.is_zero() && s.z.is_zero();
    }
    l.area.store(degenerate ? kNoArea : kHasArea, std::memory_order_relaxed);
    return degenerate;
}

Polygon Polygon::flipped() const {
    Polygon p = *this;
    p.flip();
    return p;
}

void Polygon::flip() {
    plane = plane.negated();
    if (!loop_) return;
    if (loop_.use_count() == 1) {
        // The only holder: the loop was made non-const by set_loop, and no
        // other polygon sees it change.
        Loop& own = const_cast<Loop&>(*loop_);
        std::reverse(own.vertices.begin(), own.vertices.end());
        std::reverse(own.floats.begin(), own.floats.end());
        return;  // the same bounds
    }
    // Reading a loop backwards keeps whether it encloses area.
    set_loop(std::vector<Vec3>(loop_->vertices.rbegin(), loop_->vertices.rend()),
             std::vector<Float3>(loop_->floats.rbegin(), loop_->floats.rend()),
             loop_->area.load(std::memory_order_relaxed));
}

}  // namespace corv
