#include "mesh/plane_contact.h"

#include <algorithm>
#include <cmath>

#include "local/filtered.h"

namespace corv {
namespace {

int orient2d_at(const MeshView& m, std::uint64_t a, std::uint64_t b, std::uint64_t c, int i, int j) {
    if (a == c || b == c) return 0;
    return local::orient2d(m.points[a], m.floats[a], m.points[b], m.floats[b], m.points[c], m.floats[c], i, j);
}

// Two triangles in one plane meet in more than a shared corner only along a
// ray from it that both have as a side.
bool share_a_ray(const MeshView& m, std::size_t a, std::size_t b, int i, int j) {
    const Corners &ca = m.screened[a].corners, &cb = m.screened[b].corners;
    std::uint64_t v = ca[0];
    for (std::uint64_t x : ca) {
        if (x == cb[0] || x == cb[1] || x == cb[2]) v = x;
    }
    const auto ui = static_cast<std::size_t>(i), uj = static_cast<std::size_t>(j);
    const Vec3& o = m.points[v];
    for (std::uint64_t x : ca) {
        for (std::uint64_t y : cb) {
            if (x == v || y == v || orient2d_at(m, v, x, y, i, j) != 0) continue;
            const Vec3 &p = m.points[x], &q = m.points[y];
            if (((p[ui] - o[ui]) * (q[ui] - o[ui]) + (p[uj] - o[uj]) * (q[uj] - o[uj])).sign() > 0) return true;
        }
    }
    return false;
}

// The axis along which the plane's normal is largest (not zero): seen
// along it, the plane keeps its area.
std::size_t seen_along(const Plane& plane) {
    std::size_t k = 0;
    for (std::size_t x = 1; x < 3; ++x) {
        if (std::fabs(plane.normal[x].to_double()) > std::fabs(plane.normal[k].to_double())) k = x;
    }
    while (plane.normal[k].is_zero()) k = (k + 1) % 3;  // all below the doubles' range
    return k;
}

}  // namespace

Contact coplanar_contact(const MeshView& m, std::size_t a, std::size_t b, int shared) {
    const std::size_t k = seen_along(m.triangles[a].plane);
    const int i = static_cast<int>((k + 1) % 3), j = static_cast<int>((k + 2) % 3);
    bool overlap = true, meet = true;
    for (std::size_t own : {a, b}) {
        const std::size_t other = own == a ? b : a;
        const Corners &co = m.screened[own].corners, &ct = m.screened[other].corners;
        const int turn = m.triangles[own].plane.normal[k].sign();
        for (std::size_t e = 0; e < 3; ++e) {
            int most = -1;
            for (std::size_t v = 0; v < 3 && most <= 0; ++v) {
                most = std::max(most, turn * orient2d_at(m, co[e], co[(e + 1) % 3], ct[v], i, j));
            }
            overlap = overlap && most > 0;
            meet = meet && most >= 0;
        }
    }
    if (overlap) return Contact::cross;
    if (!meet) return Contact::apart;
    if (shared == 2 || (shared == 1 && !share_a_ray(m, a, b, i, j))) return Contact::adjacent;
    return Contact::touch;
}

Contact flush_contact(const MeshView& m, std::size_t a, std::size_t b, const std::array<int, 3>& sb, int shared) {
    const Plane& plane = m.triangles[a].plane;
    const std::size_t k = seen_along(plane);
    const int i = static_cast<int>((k + 1) % 3), j = static_cast<int>((k + 2) % 3);
    const int turn = plane.normal[k].sign();
    const Corners &ca = m.screened[a].corners, &cb = m.screened[b].corners;
    std::uint64_t p[2] = {0, 0};
    std::size_t n = 0;
    for (std::size_t l = 0; l < 3 && n < 2; ++l) {
        if (sb[l] == 0) p[n++] = cb[l];
    }
    if (shared == 1) {
        std::size_t v = 0;
        while (ca[v] != p[0] && ca[v] != p[1]) ++v;
        const std::uint64_t q = ca[v] == p[0] ? p[1] : p[0];
        const bool inside = turn * orient2d_at(m, ca[v], ca[(v + 1) % 3], q, i, j) >= 0 &&
                            turn * orient2d_at(m, ca[(v + 2) % 3], ca[v], q, i, j) >= 0;
        return inside ? Contact::touch : Contact::adjacent;
    }
    for (std::size_t e = 0; e < 3; ++e) {
        bool outside = true;
        for (std::size_t x = 0; x < n && outside; ++x) {
            outside = turn * orient2d_at(m, ca[e], ca[(e + 1) % 3], p[x], i, j) < 0;
        }
        if (outside) return Contact::apart;
    }
    if (n == 2) {
        int first = 0;
        bool one_way = true;
        for (std::size_t e = 0; e < 3 && one_way; ++e) {
            const int o = orient2d_at(m, p[0], p[1], ca[e], i, j);
            one_way = o != 0 && (first == 0 || o == first);
            first = o;
        }
        if (one_way) return Contact::apart;
    }
    return Contact::touch;
}

}  // namespace corv
