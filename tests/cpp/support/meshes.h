// Triangle meshes as a mesh library would hand them over: float vertices,
// converted exactly to dyadic rationals, and triangles indexing them (as
// solid_from_triangles takes them), counter-clockwise seen from outside. The
// icosphere follows the common recipe (icosahedron, repeated midpoint
// subdivision, every point pushed back onto the unit sphere in doubles).
#pragma once

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "core/exact_double.h"
#include "core/solid.h"

namespace corv::meshes {

using Tri = std::array<std::uint64_t, 3>;

struct Mesh {
    std::vector<Float3> points;
    std::vector<Tri> triangles;
};

inline Float3 unit(const Float3& p) {
    const double n = std::sqrt(p[0] * p[0] + p[1] * p[1] + p[2] * p[2]);
    return {p[0] / n, p[1] / n, p[2] / n};
}

inline Mesh icosahedron() {
    const double t = (1.0 + std::sqrt(5.0)) / 2.0;
    Mesh m;
    m.points = {{-1, t, 0},  {1, t, 0},  {-1, -t, 0}, {1, -t, 0}, {0, -1, t},  {0, 1, t},
                {0, -1, -t}, {0, 1, -t}, {t, 0, -1},  {t, 0, 1},  {-t, 0, -1}, {-t, 0, 1}};
    for (Float3& p : m.points) p = unit(p);
    m.triangles = {{0, 11, 5},  {0, 5, 1},  {0, 1, 7},  {0, 7, 10}, {0, 10, 11}, {1, 5, 9}, {5, 11, 4},
                   {11, 10, 2}, {10, 7, 6}, {7, 1, 8},  {3, 9, 4},  {3, 4, 2},   {3, 2, 6}, {3, 6, 8},
                   {3, 8, 9},   {4, 9, 5},  {2, 4, 11}, {6, 2, 10}, {8, 6, 7},   {9, 8, 1}};
    return m;
}

// Each triangle into four through its edge midpoints (shared between the
// two triangles of an edge), the new points pushed onto the unit sphere.
inline Mesh subdivided(const Mesh& in) {
    Mesh out;
    out.points = in.points;
    std::map<std::pair<std::size_t, std::size_t>, std::size_t> mid;
    auto midpoint = [&](std::size_t a, std::size_t b) {
        auto key = std::minmax(a, b);
        auto [it, fresh] = mid.try_emplace({key.first, key.second}, out.points.size());
        if (fresh) {
            const Float3& p = in.points[a];
            const Float3& q = in.points[b];
            out.points.push_back(unit({(p[0] + q[0]) / 2, (p[1] + q[1]) / 2, (p[2] + q[2]) / 2}));
        }
        return it->second;
    };
    for (const Tri& t : in.triangles) {
        const std::size_t ab = midpoint(t[0], t[1]), bc = midpoint(t[1], t[2]), ca = midpoint(t[2], t[0]);
        out.triangles.push_back({t[0], ab, ca});
        out.triangles.push_back({t[1], bc, ab});
        out.triangles.push_back({t[2], ca, bc});
        out.triangles.push_back({ab, bc, ca});
    }
    return out;
}

// 20 * 4^subdivisions triangles.
inline Mesh icosphere(int subdivisions) {
    Mesh m = icosahedron();
    for (int i = 0; i < subdivisions; ++i) m = subdivided(m);
    return m;
}

// A closed cylinder around the z axis from -height/2 to height/2: fans for
// the caps, two triangles per section on the side.
inline Mesh cylinder(double radius, double height, int sections) {
    Mesh m;
    const double pi = std::acos(-1.0);
    for (int k = 0; k < 2; ++k) {
        const double z = k == 0 ? -height / 2 : height / 2;
        for (int i = 0; i < sections; ++i) {
            const double a = 2 * pi * i / sections;
            m.points.push_back({radius * std::cos(a), radius * std::sin(a), z});
        }
    }
    const std::size_t s = static_cast<std::size_t>(sections);
    m.points.push_back({0, 0, -height / 2});
    m.points.push_back({0, 0, height / 2});
    const std::size_t bottom = 2 * s, top = 2 * s + 1;
    for (std::size_t i = 0; i < s; ++i) {
        const std::size_t j = (i + 1) % s;
        m.triangles.push_back({bottom, j, i});
        m.triangles.push_back({top, s + i, s + j});
        m.triangles.push_back({i, j, s + j});
        m.triangles.push_back({i, s + j, s + i});
    }
    return m;
}

// A torus around the z axis: major radius r1, tube radius r2.
inline Mesh torus(double r1, double r2, int major, int minor) {
    Mesh m;
    const double pi = std::acos(-1.0);
    for (int i = 0; i < major; ++i) {
        const double u = 2 * pi * i / major;
        for (int j = 0; j < minor; ++j) {
            const double v = 2 * pi * j / minor;
            const double r = r1 + r2 * std::cos(v);
            m.points.push_back({r * std::cos(u), r * std::sin(u), r2 * std::sin(v)});
        }
    }
    auto at = [&](int i, int j) { return static_cast<std::size_t>((i % major) * minor + (j % minor)); };
    for (int i = 0; i < major; ++i) {
        for (int j = 0; j < minor; ++j) {
            m.triangles.push_back({at(i, j), at(i + 1, j), at(i + 1, j + 1)});
            m.triangles.push_back({at(i, j), at(i + 1, j + 1), at(i, j + 1)});
        }
    }
    return m;
}

// The mesh's points, every float coordinate taken exactly.
inline std::vector<Vec3> exact_points(const Mesh& m) {
    std::vector<Vec3> exact;
    exact.reserve(m.points.size());
    for (const Float3& p : m.points) exact.push_back({from_double(p[0]), from_double(p[1]), from_double(p[2])});
    return exact;
}

// The mesh as a solid, one polygon per triangle, every float coordinate
// taken exactly, moved by t.
inline Solid to_solid(const Mesh& m, const std::string& label, const Vec3& t = Vec3{0, 0, 0}) {
    std::vector<Vec3> exact = exact_points(m);
    for (Vec3& p : exact) p = add(p, t);
    Solid s;
    s.polygons.reserve(m.triangles.size());
    for (const Tri& tri : m.triangles) {
        s.polygons.push_back(Polygon::make({exact[tri[0]], exact[tri[1]], exact[tri[2]]}, label));
    }
    return s;
}

}  // namespace corv::meshes
