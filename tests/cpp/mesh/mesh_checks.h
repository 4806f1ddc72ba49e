// Checks shared by the mesh tests: exact volume and edge pairing of a mesh.
#pragma once

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <utility>

#include "mesh/mesh_of.h"

namespace corv::testing_mesh {

inline Rational volume6(const TriMesh& m) {
    Rational sum;
    for (const auto& t : m.triangles) {
        sum += dot(m.vertices[t[0]], cross(m.vertices[t[1]], m.vertices[t[2]]));
    }
    return sum;
}

// Empty when every directed edge is used exactly once and its reverse
// exactly once, no triangle repeats a vertex and every index is in range;
// else a description of the first fault.
inline std::string edge_fault(const TriMesh& m) {
    std::map<std::pair<std::uint32_t, std::uint32_t>, int> uses;
    for (std::size_t i = 0; i < m.triangles.size(); ++i) {
        const auto& t = m.triangles[i];
        for (std::size_t k = 0; k < 3; ++k) {
            if (t[k] >= m.vertices.size()) return "index out of range in triangle " + std::to_string(i);
            if (t[k] == t[(k + 1) % 3]) return "repeated vertex in triangle " + std::to_string(i);
            ++uses[{t[k], t[(k + 1) % 3]}];
        }
    }
    for (const auto& [e, n] : uses) {
        auto rev = uses.find({e.second, e.first});
        if (n != 1 || rev == uses.end() || rev->second != 1) {
            return "edge " + std::to_string(e.first) + "-" + std::to_string(e.second) + " used " + std::to_string(n) +
                   " time(s), reverse " + std::to_string(rev == uses.end() ? 0 : rev->second);
        }
    }
    if (m.labels.size() != m.triangles.size()) return "labels do not match triangles";
    for (std::uint32_t l : m.labels) {
        if (l >= m.label_names.size()) return "label index out of range";
    }
    return "";
}

// No triangle has zero area.
inline bool all_proper(const TriMesh& m) {
    for (const auto& t : m.triangles) {
        const Vec3& a = m.vertices[t[0]];
        if (cross(sub(m.vertices[t[1]], a), sub(m.vertices[t[2]], a)) == Vec3{}) return false;
    }
    return true;
}

}  // namespace corv::testing_mesh
