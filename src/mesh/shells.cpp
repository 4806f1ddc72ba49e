#include "mesh/shells.h"

#include <cmath>
#include <string>

#include "core/guard.h"
#include "core/panic.h"
#include "local/union_find.h"

namespace corv {
namespace {

// The winding number of shell t alone just in front of triangle `own`.
int shell_winding(const MeshSoup& m, const Shells& shells, std::uint32_t t, std::uint32_t own) {
    local::FacetSoup soup;
    soup.facets.push_back(triangle_facet(*m.soup.facets[own].polygon, 0, 0));
    for (std::size_t i = 0; i < shells.of.size(); ++i) {
        if (shells.of[i] != t) continue;
        guard::poll();
        soup.facets.push_back(triangle_facet(*m.soup.facets[i].polygon, static_cast<std::uint32_t>(i + 1), 1));
    }
    const local::Columns columns = local::make_columns(soup);
    return windings_of(soup, columns, 0).front[1];
}

const char* way(int facing) { return facing < 0 ? "facing inward" : "facing outward"; }

// Names shell s, whose front has winding number w, and the first shell it
// lies inside that counts its space the way w does.
[[noreturn]] void refuse_nesting(const MeshSoup& m, const Shells& shells, const std::vector<int>& facing,
                                 std::uint32_t s, int w) {
    const std::uint32_t own = shells.first[s];
    std::string text = "from_mesh: the shell of face " + std::to_string(own) + ", " + way(facing[s]) + ", ";
    std::uint32_t t = 0;
    for (; t < shells.first.size(); ++t) {
        if (t == s) continue;
        const int wt = shell_winding(m, shells, t, own);
        if (wt != 0 && (wt > 0) == (w > 0)) break;
    }
    if (t < shells.first.size()) {
        text += "lies inside the shell of face " + std::to_string(shells.first[t]) + ", " + way(facing[t]);
    } else {
        text += "lies inside no shell facing outward";
    }
    text += ", so the mesh's winding number is " + std::to_string(w > 0 ? w + 1 : w) +
            " next to it; a solid's is 0 or 1 everywhere (a cavity is a shell facing inward inside one facing "
            "outward)" +
            kResolveHint;
    throw Panic(PanicKind::not_manifold, text);
}

}  // namespace

Shells mesh_shells(std::size_t triangles, const EdgeFaces& edge_faces) {
    local::UnionFind sets(triangles);
    for (const auto& [a, b] : edge_faces) sets.join(a, b);
    Shells s;
    s.of.resize(triangles);
    for (std::size_t i = 0; i < triangles; ++i) {
        const std::uint32_t root = sets.find(static_cast<std::uint32_t>(i));
        if (root == i) {
            s.of[i] = static_cast<std::uint32_t>(s.first.size());
            s.first.push_back(root);
        } else {
            s.of[i] = s.of[root];  // the root is the class's lowest triangle
        }
    }
    return s;
}

// Per shell and for the whole mesh, the sign of the six-fold volume, sum of
// a . (b x c) over the triangles. In doubles, each of the six triple
// products of a term is within about 5u of its size (three rounded inputs,
// two roundings; u = 2^-53), and summing 6n of them adds at most 6n u times
// the sum of their sizes S; a sum beyond (6n + 16) 2u S has the exact sign.
// Otherwise the exact sum decides.
Facing facing_of(const std::vector<Vec3>& points, const std::vector<Float3>& f, const std::vector<Corners>& faces,
                 const Shells& shells) {
    const std::size_t whole = shells.first.size();  // the last slot
    std::vector<double> sum(whole + 1, 0.0), size(whole + 1, 0.0), terms(whole + 1, 0.0);
    for (std::size_t i = 0; i < faces.size(); ++i) {
        const Float3 &a = f[faces[i][0]], &b = f[faces[i][1]], &c = f[faces[i][2]];
        const double p[6] = {a[0] * b[1] * c[2],  a[1] * b[2] * c[0],  a[2] * b[0] * c[1],
                             -a[0] * b[2] * c[1], -a[1] * b[0] * c[2], -a[2] * b[1] * c[0]};
        for (std::size_t s : {std::size_t(shells.of[i]), whole}) {
            for (double x : p) {
                sum[s] += x;
                size[s] += std::fabs(x);
            }
            terms[s] += 6.0;
        }
    }
    std::vector<int> sign(whole + 1, 0);
    std::vector<bool> settled(whole + 1, false);
    bool all_settled = true;
    for (std::size_t s = 0; s <= whole; ++s) {
        const double bound = (terms[s] + 16.0) * 0x1p-52 * size[s];
        settled[s] = std::isfinite(bound) && size[s] > 0x1p-900 && std::fabs(sum[s]) > bound;
        if (settled[s]) sign[s] = sum[s] > 0 ? 1 : -1;
        all_settled = all_settled && settled[s];
    }
    if (!all_settled) {
        std::vector<Rational> exact(whole + 1);
        for (std::size_t i = 0; i < faces.size(); ++i) {
            for (std::size_t s : {std::size_t(shells.of[i]), whole}) {
                if (settled[s]) continue;
                guard::poll(4);
                exact[s] += dot(points[faces[i][0]], cross(points[faces[i][1]], points[faces[i][2]]));
            }
        }
        for (std::size_t s = 0; s <= whole; ++s) {
            if (!settled[s]) sign[s] = exact[s].sign();
        }
    }
    const int all = sign.back();
    sign.pop_back();
    return {std::move(sign), all};
}

void check_nesting(const MeshSoup& mesh, const Shells& shells, const std::vector<int>& facing) {
    if (shells.first.size() < 2) return;  // one shell, turned outward
    for (std::uint32_t s = 0; s < shells.first.size(); ++s) {
        guard::poll(16);
        const int w = windings_of(mesh.soup, mesh.columns, shells.first[s]).front[0];
        if (w != 0) refuse_nesting(mesh, shells, facing, s, w);
    }
}

}  // namespace corv
