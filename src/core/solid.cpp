#include "core/solid.h"

namespace corv {

Solid Solid::make(std::vector<Polygon> polygons) {
    Solid s;
    s.polygons.reserve(polygons.size());
    for (Polygon& p : polygons) {
        if (!p.is_degenerate()) s.polygons.push_back(std::move(p));
    }
    return s;
}

Solid Solid::cube(const Rational& dx, const Rational& dy, const Rational& dz, const std::string& prefix) {
    return cube_at(Vec3{0, 0, 0}, dx, dy, dz, prefix);
}

Solid Solid::cube_at(const Vec3& origin, const Rational& dx, const Rational& dy, const Rational& dz,
                     const std::string& prefix) {
    const Rational zero;
    const Vec3 offset[8] = {
        {zero, zero, zero}, {dx, zero, zero}, {dx, dy, zero}, {zero, dy, zero},
        {zero, zero, dz},   {dx, zero, dz},   {dx, dy, dz},   {zero, dy, dz},
    };
    Vec3 corner[8];
    for (int c = 0; c < 8; ++c) corner[c] = add(origin, offset[c]);
    // Each face's plane is what Plane::from_points gives for its first three
    // corners, written out: the spanning vectors are the sizes along two
    // axes (exact differences, whatever the origin), so the normal has one
    // non-zero component, the product of those two sizes with the face's
    // sign, and the offset is that component times the first corner's
    // coordinate on its axis.
    struct Face {
        const char* name;
        int loop[4];
        int axis;  // of the normal
        int sign;
    };
    static constexpr Face kFaces[6] = {
        {"bottom", {0, 3, 2, 1}, 2, -1}, {"top", {4, 5, 6, 7}, 2, 1},   {"front", {0, 1, 5, 4}, 1, -1},
        {"back", {2, 3, 7, 6}, 1, 1},    {"right", {1, 2, 6, 5}, 0, 1}, {"left", {3, 0, 4, 7}, 0, -1},
    };
    const Rational area[3] = {dy * dz, dx * dz, dx * dy};  // by normal axis
    std::vector<Polygon> faces;
    faces.reserve(6);
    for (const Face& f : kFaces) {
        std::vector<Vec3> loop;
        loop.reserve(4);
        for (int c : f.loop) loop.push_back(corner[c]);
        const auto axis = static_cast<std::size_t>(f.axis);
        Plane plane;
        plane.normal = Vec3{zero, zero, zero};
        plane.normal[axis] = f.sign > 0 ? area[axis] : -area[axis];
        plane.offset = plane.normal[axis] * loop[0][axis];
        faces.push_back(Polygon::with_plane(std::move(loop), std::move(plane), prefix + "." + f.name));
    }
    return make(std::move(faces));
}

}  // namespace corv
