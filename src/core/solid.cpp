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
    const Rational zero;
    const Vec3 corner[8] = {
        {zero, zero, zero}, {dx, zero, zero}, {dx, dy, zero}, {zero, dy, zero},
        {zero, zero, dz},   {dx, zero, dz},   {dx, dy, dz},   {zero, dy, dz},
    };
    struct Face {
        const char* name;
        int loop[4];
    };
    static constexpr Face kFaces[6] = {
        {"bottom", {0, 3, 2, 1}}, {"top", {4, 5, 6, 7}},   {"front", {0, 1, 5, 4}},
        {"back", {2, 3, 7, 6}},   {"right", {1, 2, 6, 5}}, {"left", {3, 0, 4, 7}},
    };
    std::vector<Polygon> faces;
    faces.reserve(6);
    for (const Face& f : kFaces) {
        std::vector<Vec3> loop;
        loop.reserve(4);
        for (int c : f.loop) loop.push_back(corner[c]);
        faces.push_back(Polygon::make(std::move(loop), prefix + "." + f.name));
    }
    return make(std::move(faces));
}

}  // namespace corv
