#include "mesh/from_triangles.h"

#include <algorithm>
#include <cmath>
#include <numeric>
#include <optional>

#include "core/filtered.h"
#include "core/guard.h"
#include "core/panic.h"
#include "local/union_find.h"
#include "mesh/resolve.h"

namespace corv {
namespace {

using i128 = __int128;

void set_i128(Integer& out, i128 v) {
    const bool negative = v < 0;
    const auto m = static_cast<unsigned __int128>(negative ? -v : v);
    mpz_set_ui(out.get_mut(), static_cast<unsigned long>(m >> 64));
    mpz_mul_2exp(out.get_mut(), out.get(), 64);
    mpz_add_ui(out.get_mut(), out.get(), static_cast<unsigned long>(m & ~std::uint64_t(0)));
    if (negative) mpz_neg(out.get_mut(), out.get());
}

// Big-number registers reused from triangle to triangle.
struct PlaneScratch {
    Integer n, term, offset;
};

// The plane through a, b, c from machine integers, when every coordinate is
// a small rational and their common denominator L keeps the scaled
// coordinates X below 2^61 (doubles in [-1, 1] do): then the cross product
// N of the differences of X fits in 128 bits. The plane kept is
// (L N) . p = N . X_a: integers throughout, and L^3 times the plane
// Plane::from_points gives, so the same oriented plane.
std::optional<Plane> integer_plane(const Vec3& a, const Vec3& b, const Vec3& c, PlaneScratch& s) {
    constexpr std::int64_t kLimit = std::int64_t(1) << 61;
    std::pair<std::int64_t, std::int64_t> parts[9];
    std::int64_t common = 1;
    for (std::size_t i = 0; i < 9; ++i) {
        const Vec3& p = i < 3 ? a : (i < 6 ? b : c);
        auto part = p[i % 3].small_parts();
        if (!part) return std::nullopt;
        parts[i] = *part;
        const std::int64_t scale = common / std::gcd(common, part->second);
        if (scale > kLimit / part->second) return std::nullopt;
        common = scale * part->second;
    }
    i128 x[9];
    for (std::size_t i = 0; i < 9; ++i) {
        x[i] = i128(parts[i].first) * (common / parts[i].second);
        if (x[i] >= kLimit || x[i] <= -kLimit) return std::nullopt;
    }
    const i128 u[3] = {x[3] - x[0], x[4] - x[1], x[5] - x[2]};
    const i128 v[3] = {x[6] - x[0], x[7] - x[1], x[8] - x[2]};
    const i128 n[3] = {u[1] * v[2] - u[2] * v[1], u[2] * v[0] - u[0] * v[2], u[0] * v[1] - u[1] * v[0]};
    Plane plane;
    mpz_set_ui(s.offset.get_mut(), 0);
    for (std::size_t k = 0; k < 3; ++k) {
        set_i128(s.n, n[k]);
        mpz_mul_si(s.term.get_mut(), s.n.get(), static_cast<long>(x[k]));
        mpz_add(s.offset.get_mut(), s.offset.get(), s.term.get());
        mpz_mul_si(s.n.get_mut(), s.n.get(), static_cast<long>(common));
        plane.normal[k] = Rational::from_integer(s.n);
    }
    plane.offset = Rational::from_integer(s.offset);
    return plane;
}

[[noreturn]] void reject(PanicKind kind, std::size_t face, const std::string& what) {
    throw Panic(kind, "from_mesh: face " + std::to_string(face) + ": " + what);
}

// Whether the doubles prove the triangle has area: one component of its
// cross product, a 2-D orientation in the plane of two axes, is settled
// non-zero.
bool screened_area(const Float3& a, const Float3& b, const Float3& c) {
    for (std::size_t k = 0; k < 3; ++k) {
        const std::size_t i = (k + 1) % 3, j = (k + 2) % 3;
        if (filtered::orient2d_sign(a[i], a[j], b[i], b[j], c[i], c[j]) != 0) return true;
    }
    return false;
}

// The number of holes: loops of the edges that miss a triangle on one side
// (counted as connected sets of such edges).
std::size_t count_holes(std::vector<std::pair<std::uint64_t, std::uint64_t>> open) {
    std::vector<std::uint64_t> ends;
    for (const auto& [a, b] : open) ends.insert(ends.end(), {a, b});
    std::sort(ends.begin(), ends.end());
    ends.erase(std::unique(ends.begin(), ends.end()), ends.end());
    auto id = [&](std::uint64_t v) {
        return static_cast<std::uint32_t>(std::lower_bound(ends.begin(), ends.end(), v) - ends.begin());
    };
    local::UnionFind loops(ends.size());
    std::size_t count = ends.size();
    for (const auto& [a, b] : open) count -= loops.join(id(a), id(b)) ? 1u : 0u;
    return count;
}

std::string edge_fault(const std::vector<Vec3>& at, std::uint64_t lo, std::uint64_t hi, int forward, int backward) {
    const std::string l = std::to_string(lo), h = std::to_string(hi);
    return "the edge from vertex " + l + " " + plain_point_text(at[lo]) + " to vertex " + h + " " +
           plain_point_text(at[hi]) + " has " + std::to_string(forward) + " triangle(s) running " + l + "->" + h +
           " and " + std::to_string(backward) + " the other way; each edge needs one each way (" +
           (forward + backward < 2 ? "the mesh has a hole there"
                                   : "more than two triangles meet there, or they face different ways") +
           ")";
}

// Every directed edge once and its reverse once, and the two triangles of
// each edge; else the first face on a faulty edge. The indices are known to
// be below the number of points.
EdgeFaces check_edges(const std::vector<std::array<std::uint64_t, 3>>& faces, const std::vector<Vec3>& at) {
    const std::size_t points = at.size();
    // Each use of an edge as (lo, hi, face * 2 + runs lo -> hi); with fewer
    // than 2^32 points the ends pack into one sort key.
    std::vector<std::array<std::uint64_t, 3>> uses;
    uses.reserve(3 * faces.size());
    const bool packed = points <= (std::uint64_t(1) << 32);
    for (std::size_t i = 0; i < faces.size(); ++i) {
        for (std::size_t k = 0; k < 3; ++k) {
            const std::uint64_t a = faces[i][k], b = faces[i][(k + 1) % 3];
            const std::uint64_t lo = std::min(a, b), hi = std::max(a, b), tag = 2 * i + (a < b ? 1 : 0);
            uses.push_back(packed ? std::array<std::uint64_t, 3>{lo << 32 | hi, 0, tag}
                                  : std::array<std::uint64_t, 3>{lo, hi, tag});
        }
    }
    std::sort(uses.begin(), uses.end());
    EdgeFaces pairs;
    pairs.reserve(uses.size() / 2);
    std::vector<std::pair<std::uint64_t, std::uint64_t>> open;
    std::size_t worst = faces.size();
    std::string what;
    for (std::size_t i = 0; i < uses.size();) {
        std::size_t j = i;
        int forward = 0, backward = 0;
        for (; j < uses.size() && uses[j][0] == uses[i][0] && uses[j][1] == uses[i][1]; ++j) {
            (uses[j][2] % 2 == 1 ? forward : backward) += 1;
        }
        const std::uint64_t lo = packed ? uses[i][0] >> 32 : uses[i][0];
        const std::uint64_t hi = packed ? uses[i][0] & 0xffffffffu : uses[i][1];
        const std::size_t face = uses[i][2] / 2;  // the smallest face on the edge
        if (forward == 1 && backward == 1) {
            pairs.push_back({static_cast<std::uint32_t>(face), static_cast<std::uint32_t>(uses[i + 1][2] / 2)});
        } else if (face < worst) {
            worst = face;
            what = edge_fault(at, lo, hi, forward, backward);
        }
        if (forward != backward) open.emplace_back(lo, hi);
        i = j;
    }
    if (worst == faces.size()) return pairs;
    if (what.find("a hole there") != std::string::npos) {
        const std::size_t holes = count_holes(std::move(open));
        what += "; the mesh has " + std::to_string(holes) + (holes == 1 ? " hole" : " holes") +
                " (loops of edges with a triangle on one side only)";
    }
    reject(PanicKind::not_manifold, worst, what);
}

// The polygons of the faces, each turned when flip is set, and their
// corners in polygon order.
Solid triangles_of(const std::vector<Vec3>& points, const std::vector<Float3>& f,
                   const std::vector<std::array<std::uint64_t, 3>>& faces, const std::string& label, bool flip,
                   std::vector<Corners>& corners) {
    Solid out;
    out.polygons.reserve(faces.size());
    corners.reserve(faces.size());
    PlaneScratch scratch;
    std::uint64_t done = 0;
    for (const auto& t : faces) {
        if (done % 256 == 0) guard::progress("from_mesh", done, faces.size());
        ++done;
        guard::poll(4);
        const std::uint64_t i = t[0], j = flip ? t[2] : t[1], k = flip ? t[1] : t[2];
        corners.push_back({i, j, k});
        std::optional<Plane> plane = integer_plane(points[i], points[j], points[k], scratch);
        out.polygons.push_back(
            Polygon::assemble({points[i], points[j], points[k]}, {f[i], f[j], f[k]},
                              plane ? std::move(*plane) : Plane::from_points(points[i], points[j], points[k]), label));
    }
    return out;
}

}  // namespace

Solid solid_from_triangles(std::vector<Vec3> points, const std::vector<std::array<std::uint64_t, 3>>& faces,
                           const std::string& label, SelfCrossing crossing) {
    if (faces.size() >= 0xffffffffu) {
        throw Panic(PanicKind::invalid_argument, "from_mesh: more than 4294967294 triangles");
    }
    for (std::size_t i = 0; i < faces.size(); ++i) {
        for (std::uint64_t v : faces[i]) {
            if (v >= points.size()) {
                reject(PanicKind::index, i,
                       "vertex index " + std::to_string(v) + " is out of range (" + std::to_string(points.size()) +
                           " points)");
            }
        }
    }
    std::vector<Float3> f;
    f.reserve(points.size());
    for (const Vec3& p : points) f.push_back(to_f3(p));
    for (std::size_t i = 0; i < faces.size(); ++i) {
        const auto& t = faces[i];
        if (screened_area(f[t[0]], f[t[1]], f[t[2]])) continue;
        ++filtered::fallbacks().orient;
        guard::poll(2);
        const Vec3& a = points[t[0]];
        if (cross(sub(points[t[1]], a), sub(points[t[2]], a)) == Vec3{}) {
            reject(PanicKind::invalid_argument, i, "the triangle has zero area (repeated or collinear points)");
        }
    }
    const EdgeFaces edge_faces = check_edges(faces, points);
    const Shells shells = mesh_shells(faces.size(), edge_faces);
    Facing facing = facing_of(points, f, faces, shells);
    const bool flip = facing.whole < 0;
    if (flip) {
        for (int& s : facing.shell) s = -s;
    }
    std::vector<Corners> corners;
    Solid out = triangles_of(points, f, faces, label, flip, corners);
    const std::vector<ScreenedTriangle> screened = screened_triangles(f, corners);
    const std::vector<ContactPair> contacts =
        mesh_contacts(MeshView{points, f, out.polygons, screened}, crossing == SelfCrossing::refuse);
    if (crossing == SelfCrossing::refuse) refuse_crossings(contacts, points, faces);
    if (contacts.empty() && shells.first.size() < 2) return out;
    const MeshSoup soup = mesh_soup(out.polygons);
    const local::Neighbours near = contact_lists(faces.size(), contacts);
    if (crossing == SelfCrossing::resolve) return enclosed_solid(soup, near, edge_faces);
    refuse_torn(soup, near, points, faces);
    check_nesting(soup, shells, facing.shell);
    return out;
}

}  // namespace corv
