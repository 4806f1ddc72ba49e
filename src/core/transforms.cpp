#include "core/transforms.h"

#include "core/panic.h"

namespace corv {
namespace {

void flip_all(std::vector<Polygon>& polygons) {
    for (Polygon& p : polygons) p.flip();
}

}  // namespace

std::vector<Polygon> mapped(const std::vector<Polygon>& polygons, const std::function<Vec3(const Vec3&)>& f) {
    std::vector<Polygon> out;
    out.reserve(polygons.size());
    for (const Polygon& p : polygons) {
        std::vector<Vec3> loop;
        loop.reserve(p.vertices().size());
        for (const Vec3& v : p.vertices()) loop.push_back(f(v));
        Plane plane = loop.size() >= 3 ? Plane::from_points(loop[0], loop[1], loop[2]) : Plane{};
        out.push_back(Polygon::with_plane(std::move(loop), std::move(plane), p.label));
    }
    return out;
}

Solid translated(const Solid& s, const Vec3& t) {
    return Solid{mapped(s.polygons, [&](const Vec3& p) { return add(p, t); })};
}

Solid rotated_quarter(const Solid& s, std::uint64_t axis, std::int64_t quarters) {
    const unsigned q = static_cast<unsigned>(static_cast<std::uint64_t>(quarters) & 3u);
    const std::size_t i = static_cast<std::size_t>((axis + 2) % 3);
    const std::size_t j = static_cast<std::size_t>((axis + 1) % 3);
    return Solid{mapped(s.polygons, [&](const Vec3& p) {
        Vec3 r = p;
        for (unsigned k = 0; k < q; ++k) {
            Rational pi = std::move(r[i]);
            r[i] = std::move(r[j]);
            r[j] = -pi;
        }
        return r;
    })};
}

Solid scaled(const Solid& s, const Rational& fx, const Rational& fy, const Rational& fz) {
    Solid out{mapped(s.polygons, [&](const Vec3& p) { return Vec3{p.x * fx, p.y * fy, p.z * fz}; })};
    if ((fx * fy * fz).sign() < 0) flip_all(out.polygons);
    return out;
}

Solid mirrored(const Solid& s, std::uint64_t axis) {
    if (axis > 2 && !s.polygons.empty()) {
        throw Panic(PanicKind::invalid_argument,
                    "mirror axis " + std::to_string(axis) + " is outside a point (0, 1 or 2)");
    }
    Solid out{mapped(s.polygons, [&](const Vec3& p) {
        Vec3 r = p;
        r[static_cast<std::size_t>(axis)] = -r[static_cast<std::size_t>(axis)];
        return r;
    })};
    flip_all(out.polygons);
    return out;
}

}  // namespace corv
