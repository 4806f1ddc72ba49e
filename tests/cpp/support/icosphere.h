// A unit icosphere in doubles, made as mesh libraries make it: an
// icosahedron whose triangles are split in four at the edge midpoints,
// `subdivisions` times, every new point pushed out to the unit sphere.
// 20 * 4^subdivisions triangles, counter-clockwise seen from outside.
#pragma once

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <map>
#include <utility>
#include <vector>

namespace corv::testing_mesh {

struct DoubleMesh {
    std::vector<std::array<double, 3>> points;
    std::vector<std::array<std::uint64_t, 3>> faces;
};

inline DoubleMesh icosphere(int subdivisions) {
    const double t = (1.0 + std::sqrt(5.0)) / 2.0;
    DoubleMesh m;
    auto add = [&](double x, double y, double z) {
        const double r = std::sqrt(x * x + y * y + z * z);
        m.points.push_back({x / r, y / r, z / r});
        return static_cast<std::uint64_t>(m.points.size() - 1);
    };
    const double base[12][3] = {{-1, t, 0},  {1, t, 0},  {-1, -t, 0}, {1, -t, 0}, {0, -1, t},  {0, 1, t},
                                {0, -1, -t}, {0, 1, -t}, {t, 0, -1},  {t, 0, 1},  {-t, 0, -1}, {-t, 0, 1}};
    for (const auto& p : base) add(p[0], p[1], p[2]);
    m.faces = {{0, 11, 5},  {0, 5, 1},  {0, 1, 7},  {0, 7, 10}, {0, 10, 11}, {1, 5, 9}, {5, 11, 4},
               {11, 10, 2}, {10, 7, 6}, {7, 1, 8},  {3, 9, 4},  {3, 4, 2},   {3, 2, 6}, {3, 6, 8},
               {3, 8, 9},   {4, 9, 5},  {2, 4, 11}, {6, 2, 10}, {8, 6, 7},   {9, 8, 1}};
    for (int s = 0; s < subdivisions; ++s) {
        std::map<std::pair<std::uint64_t, std::uint64_t>, std::uint64_t> middle;
        auto mid = [&](std::uint64_t a, std::uint64_t b) {
            auto key = std::minmax(a, b);
            auto it = middle.find(key);
            if (it != middle.end()) return it->second;
            const auto &p = m.points[a], &q = m.points[b];
            std::uint64_t v = add((p[0] + q[0]) / 2, (p[1] + q[1]) / 2, (p[2] + q[2]) / 2);
            middle[key] = v;
            return v;
        };
        std::vector<std::array<std::uint64_t, 3>> next;
        for (const auto& f : m.faces) {
            std::uint64_t ab = mid(f[0], f[1]), bc = mid(f[1], f[2]), ca = mid(f[2], f[0]);
            next.push_back({f[0], ab, ca});
            next.push_back({f[1], bc, ab});
            next.push_back({f[2], ca, bc});
            next.push_back({ab, bc, ca});
        }
        m.faces = std::move(next);
    }
    return m;
}

// A closed cylinder of radius 1 and height 2 around the z axis: `n` points
// on each rim and one centre point per cap.
inline DoubleMesh cylinder(int n) {
    DoubleMesh m;
    const double pi = std::acos(-1.0);
    for (int z = -1; z <= 1; z += 2) {
        for (int i = 0; i < n; ++i) {
            m.points.push_back({std::cos(2 * pi * i / n), std::sin(2 * pi * i / n), double(z)});
        }
    }
    const auto N = static_cast<std::uint64_t>(n);
    m.points.push_back({0, 0, -1});
    m.points.push_back({0, 0, 1});
    for (std::uint64_t i = 0; i < N; ++i) {
        std::uint64_t j = (i + 1) % N;
        m.faces.push_back({i, j, N + j});
        m.faces.push_back({i, N + j, N + i});
        m.faces.push_back({2 * N, j, i});
        m.faces.push_back({2 * N + 1, N + i, N + j});
    }
    return m;
}

}  // namespace corv::testing_mesh
