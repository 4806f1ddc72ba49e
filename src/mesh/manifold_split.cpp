#include "mesh/manifold_split.h"

#include <algorithm>
#include <numeric>
#include <string>

#include "core/panic.h"

namespace corv::mesh {
namespace {

struct Side {
    std::uint32_t lo, hi;  // vertex indices, lo < hi
    std::uint32_t corner;  // 3 * triangle + k: the side runs from corner k to k + 1
    bool forward;          // it runs lo -> hi
};

std::uint32_t vertex_at(const std::vector<Triangle>& t, std::uint32_t corner) { return t[corner / 3][corner % 3]; }
std::uint32_t next_corner(std::uint32_t corner) { return corner - corner % 3 + (corner % 3 + 1) % 3; }

// Where the sides of one edge come from more than two triangles, they are
// ordered by angle around the edge (direction lo -> hi, right-handed). A
// triangle running lo -> hi has the solid just clockwise of it and one
// running hi -> lo just counter-clockwise, so each forward side is paired
// with its clockwise neighbour: the two close one wedge of solid, and
// wedges meeting only at the edge stay apart.
void pair_around(const std::vector<Vec3>& points, const std::vector<Triangle>& tris, std::vector<Side>& sides,
                 std::vector<std::uint32_t>& twin) {
    const Vec3& a = points[sides[0].lo];
    const Vec3 d = sub(points[sides[0].hi], a);
    const Rational dd = dot(d, d);
    std::vector<Vec3> radial;  // the third vertex, made perpendicular to d
    for (const Side& s : sides) {
        Vec3 r = sub(points[vertex_at(tris, next_corner(next_corner(s.corner)))], a);
        radial.push_back(sub(smul(dd, r), smul(dot(r, d), d)));
    }
    const Vec3 e1 = radial[0], e2 = cross(d, e1);
    std::vector<std::pair<Rational, Rational>> xy;
    for (const Vec3& r : radial) xy.push_back({dot(r, e1), dot(r, e2)});
    auto upper = [&](std::size_t i) { return xy[i].second.sign() > 0 || (xy[i].second.sign() == 0 && xy[i].first.sign() > 0); };
    std::vector<std::size_t> order(sides.size());
    std::iota(order.begin(), order.end(), std::size_t(0));
    std::sort(order.begin(), order.end(), [&](std::size_t i, std::size_t j) {
        if (upper(i) != upper(j)) return upper(i);
        return (xy[i].first * xy[j].second - xy[i].second * xy[j].first).sign() > 0;
    });
    const std::size_t n = order.size();
    for (std::size_t k = 0; k < n; ++k) {
        const Side& s = sides[order[k]];
        if (!s.forward) continue;
        const Side& before = sides[order[(k + n - 1) % n]];
        if (before.forward) throw Panic("mesh: the surface is not consistently oriented around an edge");
        twin[s.corner] = before.corner;
        twin[before.corner] = s.corner;
    }
}

std::uint32_t find(std::vector<std::uint32_t>& parent, std::uint32_t x) {
    while (parent[x] != x) x = parent[x] = parent[parent[x]];
    return x;
}

}  // namespace

void manifold_split(std::vector<Vec3>& points, std::vector<Float3>& fpoints, std::vector<Triangle>& tris) {
    const auto corners = static_cast<std::uint32_t>(3 * tris.size());
    std::vector<Side> sides;
    sides.reserve(corners);
    for (std::uint32_t c = 0; c < corners; ++c) {
        std::uint32_t a = vertex_at(tris, c), b = vertex_at(tris, next_corner(c));
        sides.push_back(a < b ? Side{a, b, c, true} : Side{b, a, c, false});
    }
    std::sort(sides.begin(), sides.end(), [](const Side& x, const Side& y) {
        return x.lo != y.lo ? x.lo < y.lo : (x.hi != y.hi ? x.hi < y.hi : x.corner < y.corner);
    });
    std::vector<std::uint32_t> twin(corners);
    std::vector<Side> group;
    for (std::size_t i = 0; i < sides.size();) {
        std::size_t j = i;
        int forward = 0, backward = 0;
        for (; j < sides.size() && sides[j].lo == sides[i].lo && sides[j].hi == sides[i].hi; ++j) {
            (sides[j].forward ? forward : backward) += 1;
        }
        if (forward != backward) {
            throw Panic("mesh: the solid is not closed: an edge has " + std::to_string(forward) +
                        " triangle(s) one way and " + std::to_string(backward) + " the other");
        }
        if (j - i == 2) {
            twin[sides[i].corner] = sides[i + 1].corner;
            twin[sides[i + 1].corner] = sides[i].corner;
        } else {
            group.assign(sides.begin() + static_cast<std::ptrdiff_t>(i), sides.begin() + static_cast<std::ptrdiff_t>(j));
            pair_around(points, tris, group, twin);
        }
        i = j;
    }
    // Corners joined across paired sides share a vertex copy; each further
    // class of corners at one vertex gets its own copy.
    std::vector<std::uint32_t> parent(corners);
    std::iota(parent.begin(), parent.end(), 0u);
    for (std::uint32_t c = 0; c < corners; ++c) {
        const std::uint32_t t = twin[c];
        parent[find(parent, c)] = find(parent, next_corner(t));
        parent[find(parent, next_corner(c))] = find(parent, t);
    }
    std::vector<std::uint32_t> owner(points.size(), UINT32_MAX);  // the class holding the original
    std::vector<std::uint32_t> copy_of_class(corners, UINT32_MAX);
    for (std::uint32_t c = 0; c < corners; ++c) {
        const std::uint32_t root = find(parent, c), v = vertex_at(tris, c);
        if (owner[v] == UINT32_MAX) owner[v] = root;
        if (owner[v] == root) continue;
        if (copy_of_class[root] == UINT32_MAX) {
            copy_of_class[root] = static_cast<std::uint32_t>(points.size());
            points.push_back(points[v]);
            fpoints.push_back(fpoints[v]);
        }
        tris[c / 3][c % 3] = copy_of_class[root];
    }
}

}  // namespace corv::mesh
