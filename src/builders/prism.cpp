#include "builders/prism.h"

#include <algorithm>
#include <utility>

#include "builders/ear_clip.h"
#include "core/panic.h"

namespace corv {
namespace {

Vec3 at(const Point2& p, const Rational& z) { return {p.x, p.y, z}; }

// One cap triangle at height z; the bottom cap faces down, so its triangles
// are wound backwards.
Polygon cap_face(const Triangle2& t, const Rational& z, bool bottom, const std::string& label) {
    if (bottom) return Polygon::make({at(t.a, z), at(t.c, z), at(t.b, z)}, label);
    return Polygon::make({at(t.a, z), at(t.b, z), at(t.c, z)}, label);
}

void append_cap(std::vector<Polygon>& faces, const std::vector<Triangle2>& tris, const Rational& z, bool bottom,
                const std::string& label) {
    for (const Triangle2& t : tris) faces.push_back(cap_face(t, z, bottom, label));
}

std::string side_label(const std::string& prefix, std::size_t i) { return prefix + ".side" + std::to_string(i); }

// Whether every corner of the counter-clockwise loop turns strictly left.
bool strictly_convex(const std::vector<Point2>& loop) {
    const std::size_t n = loop.size();
    if (n < 3) return false;
    for (std::size_t i = 0; i < n; ++i) {
        const Point2 &a = loop[i], &b = loop[(i + 1) % n], &c = loop[(i + 2) % n];
        if (((b.x - a.x) * (c.y - a.y) - (b.y - a.y) * (c.x - a.x)).sign() <= 0) return false;
    }
    return true;
}

void append_sides(std::vector<Polygon>& faces, const std::vector<Point2>& loop, const Rational& h,
                  const std::string& prefix) {
    const Rational zero;
    const std::size_t n = loop.size();
    for (std::size_t i = 0; i < n; ++i) {
        const Point2& p = loop[i];
        const Point2& q = loop[(i + 1) % n];
        faces.push_back(Polygon::make({at(p, zero), at(q, zero), at(q, h), at(p, h)}, side_label(prefix, i)));
    }
}

}  // namespace

Solid make_prism(std::vector<Point2> loop, const Rational& h, const std::string& prefix) {
    if (loop_area2(loop).sign() < 0) std::reverse(loop.begin(), loop.end());
    const Rational zero;
    const std::string bottom = prefix + ".bottom", top = prefix + ".top";

    std::vector<Polygon> faces;
    std::vector<Triangle2> tris = ear_clip(loop);
    faces.reserve(2 * tris.size() + loop.size());
    for (const Triangle2& t : tris) {
        faces.push_back(cap_face(t, zero, true, bottom));  // bottom and top alternate
        faces.push_back(cap_face(t, h, false, top));
    }
    append_sides(faces, loop, h, prefix);
    return Solid::make(std::move(faces));
}

Solid make_prism_whole_caps(std::vector<Point2> loop, const Rational& h, const std::string& prefix) {
    if (loop_area2(loop).sign() < 0) std::reverse(loop.begin(), loop.end());
    if (!strictly_convex(loop)) return make_prism(std::move(loop), h, prefix);
    std::vector<Vec3> bottom, top;
    bottom.reserve(loop.size());
    top.reserve(loop.size());
    for (auto p = loop.rbegin(); p != loop.rend(); ++p) bottom.push_back(at(*p, Rational()));
    for (const Point2& p : loop) top.push_back(at(p, h));
    std::vector<Polygon> faces;
    faces.reserve(loop.size() + 2);
    faces.push_back(Polygon::make(std::move(bottom), prefix + ".bottom"));
    faces.push_back(Polygon::make(std::move(top), prefix + ".top"));
    append_sides(faces, loop, h, prefix);
    return Solid::make(std::move(faces));
}

Solid make_prismatoid(std::vector<Point2> bottom, const Rational& z0, std::vector<Point2> top, const Rational& z1,
                      const std::string& prefix) {
    if (top.size() < bottom.size()) {
        throw Panic(PanicKind::bad_shape, "make_prismatoid: the top outline has " + std::to_string(top.size()) +
                                              " points, fewer than the bottom's " + std::to_string(bottom.size()));
    }
    if (loop_area2(bottom).sign() < 0) {
        std::reverse(bottom.begin(), bottom.end());
        std::reverse(top.begin(), top.end());
    }

    std::vector<Polygon> faces;
    append_cap(faces, ear_clip(bottom), z0, true, prefix + ".bottom");
    append_cap(faces, ear_clip(top), z1, false, prefix + ".top");
    const std::size_t n = bottom.size();
    for (std::size_t i = 0; i < n; ++i) {
        std::size_t k = (i + 1) % n;
        std::string label = side_label(prefix, i);
        faces.push_back(Polygon::make({at(bottom[i], z0), at(bottom[k], z0), at(top[k], z1)}, label));
        faces.push_back(Polygon::make({at(bottom[i], z0), at(top[k], z1), at(top[i], z1)}, std::move(label)));
    }
    return Solid::make(std::move(faces));
}

}  // namespace corv
