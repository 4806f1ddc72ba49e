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

// Where more than two triangles meet at an edge, their sides are ordered by
// angle around the edge (direction lo -> hi, right-handed). A triangle
// running lo -> hi has the solid just clockwise of it and one running
// hi -> lo just counter-clockwise. Pairing each forward side with its
// clockwise neighbour closes the wedges of solid one by one: solids that
// touch along the edge come apart. Where that leaves both ends of the edge
// joined (empty wedges touching, as two cavities meeting at an edge), the
// sides are paired across the empty wedges instead.
struct Fan {
    std::vector<std::uint32_t> corners;  // by angle around the edge
    std::vector<std::uint8_t> forward;
    bool across_empty = false;
};

Fan order_around(const std::vector<Vec3>& points, const std::vector<Triangle>& tris, const std::vector<Side>& sides) {
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
    auto upper = [&](std::size_t i) {
        return xy[i].second.sign() > 0 || (xy[i].second.sign() == 0 && xy[i].first.sign() > 0);
    };
    std::vector<std::size_t> order(sides.size());
    std::iota(order.begin(), order.end(), std::size_t(0));
    std::sort(order.begin(), order.end(), [&](std::size_t i, std::size_t j) {
        if (upper(i) != upper(j)) return upper(i);
        return (xy[i].first * xy[j].second - xy[i].second * xy[j].first).sign() > 0;
    });
    Fan fan;
    for (std::size_t i : order) {
        fan.corners.push_back(sides[i].corner);
        fan.forward.push_back(sides[i].forward ? 1 : 0);
    }
    return fan;
}

void pair_fan(const Fan& fan, std::vector<std::uint32_t>& twin) {
    const std::size_t n = fan.corners.size();
    for (std::size_t k = 0; k < n; ++k) {
        if (!fan.forward[k]) continue;
        const std::size_t j = fan.across_empty ? (k + 1) % n : (k + n - 1) % n;
        if (fan.forward[j])
            throw Panic(PanicKind::not_manifold, "mesh: the surface is not consistently oriented around an edge");
        twin[fan.corners[k]] = fan.corners[j];
        twin[fan.corners[j]] = fan.corners[k];
    }
}

bool alternates(const Fan& fan) {
    const std::size_t n = fan.forward.size();
    for (std::size_t k = 0; k < n; ++k) {
        if (fan.forward[k] == fan.forward[(k + 1) % n]) return false;
    }
    return true;
}

std::uint32_t find(std::vector<std::uint32_t>& parent, std::uint32_t x) {
    while (parent[x] != x) x = parent[x] = parent[parent[x]];
    return x;
}

// Corners joined across paired sides share a vertex copy: returns, per
// corner, the representative corner of its class.
std::vector<std::uint32_t> corner_classes(const std::vector<std::uint32_t>& twin) {
    const auto corners = static_cast<std::uint32_t>(twin.size());
    std::vector<std::uint32_t> parent(corners);
    std::iota(parent.begin(), parent.end(), 0u);
    for (std::uint32_t c = 0; c < corners; ++c) {
        const std::uint32_t t = twin[c];
        parent[find(parent, c)] = find(parent, next_corner(t));
        parent[find(parent, next_corner(c))] = find(parent, t);
    }
    for (std::uint32_t c = 0; c < corners; ++c) parent[c] = find(parent, c);
    return parent;
}

// Whether the fan's pairs end up on distinct edges once the vertices are
// split by class: some pair must differ from the others at one end.
bool fan_separates(const Fan& fan, const std::vector<std::uint32_t>& cls) {
    std::vector<std::pair<std::uint32_t, std::uint32_t>> ends;
    for (std::size_t k = 0; k < fan.corners.size(); ++k) {
        if (fan.forward[k]) ends.push_back({cls[fan.corners[k]], cls[next_corner(fan.corners[k])]});
    }
    // Classes of one vertex are distinct exactly when the copies are.
    std::sort(ends.begin(), ends.end());
    return std::adjacent_find(ends.begin(), ends.end()) == ends.end();
}

}  // namespace

bool manifold_split(std::vector<Vec3>& points, std::vector<Float3>& fpoints, std::vector<Triangle>& tris,
                    std::vector<Edge>* crossed) {
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
    std::vector<Fan> fans;
    std::vector<Side> group;
    for (std::size_t i = 0; i < sides.size();) {
        std::size_t j = i;
        int forward = 0, backward = 0;
        for (; j < sides.size() && sides[j].lo == sides[i].lo && sides[j].hi == sides[i].hi; ++j) {
            (sides[j].forward ? forward : backward) += 1;
        }
        if (forward != backward) {
            throw Panic(PanicKind::not_manifold,
                        "mesh: the solid is not closed: the edge from " + plain_point_text(points[sides[i].lo]) +
                            " to " + plain_point_text(points[sides[i].hi]) + " has " + std::to_string(forward) +
                            " triangle(s) one way and " + std::to_string(backward) +
                            " the other, so the solid has a hole or a loose face there");
        }
        if (j - i == 2) {
            twin[sides[i].corner] = sides[i + 1].corner;
            twin[sides[i + 1].corner] = sides[i].corner;
        } else {
            group.assign(sides.begin() + static_cast<std::ptrdiff_t>(i),
                         sides.begin() + static_cast<std::ptrdiff_t>(j));
            fans.push_back(order_around(points, tris, group));
            if (crossed != nullptr && !alternates(fans.back())) {
                crossed->push_back({sides[i].lo, sides[i].hi});
            } else {
                pair_fan(fans.back(), twin);
            }
        }
        i = j;
    }
    if (crossed != nullptr && !crossed->empty()) return false;
    std::vector<std::uint32_t> cls = corner_classes(twin);
    // Each fan that does not come apart is paired the other way, once.
    for (bool changed = true; changed;) {
        changed = false;
        for (Fan& fan : fans) {
            if (fan.across_empty || fan_separates(fan, cls)) continue;
            fan.across_empty = true;
            pair_fan(fan, twin);
            changed = true;
        }
        if (changed) cls = corner_classes(twin);
    }
    for (const Fan& fan : fans) {
        if (!fan_separates(fan, cls)) {
            throw Panic(PanicKind::not_manifold,
                        "mesh: the solid meets itself along an edge in a way no manifold mesh can show");
        }
    }
    std::vector<std::uint32_t> owner(points.size(), UINT32_MAX);  // the class keeping the original
    std::vector<std::uint32_t> copy_of_class(corners, UINT32_MAX);
    for (std::uint32_t c = 0; c < corners; ++c) {
        const std::uint32_t root = cls[c], v = vertex_at(tris, c);
        if (owner[v] == UINT32_MAX) owner[v] = root;
        if (owner[v] == root) continue;
        if (copy_of_class[root] == UINT32_MAX) {
            copy_of_class[root] = static_cast<std::uint32_t>(points.size());
            points.push_back(points[v]);
            fpoints.push_back(fpoints[v]);
        }
        tris[c / 3][c % 3] = copy_of_class[root];
    }
    return true;
}

}  // namespace corv::mesh
