#include "mesh/from_triangles.h"

#include <algorithm>
#include <cmath>
#include <numeric>
#include <optional>

#include "core/filtered.h"
#include "core/guard.h"
#include "core/panic.h"

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

// The sign of the six-fold volume, sum of a . (b x c) over the triangles.
// In doubles, each of the six triple products of a term is within about 5u
// of its size (three rounded inputs, two roundings; u = 2^-53), and summing
// 6n of them adds at most 6n u times the sum of their sizes S; a sum beyond
// (6n + 16) 2u S has the exact sign. Otherwise the exact sum decides.
int volume_sign(const std::vector<Vec3>& points, const std::vector<Float3>& f,
                const std::vector<std::array<std::uint64_t, 3>>& faces) {
    double sum = 0, size = 0;
    for (const auto& t : faces) {
        const Float3 &a = f[t[0]], &b = f[t[1]], &c = f[t[2]];
        const double p[6] = {a[0] * b[1] * c[2],  a[1] * b[2] * c[0],  a[2] * b[0] * c[1],
                             -a[0] * b[2] * c[1], -a[1] * b[0] * c[2], -a[2] * b[1] * c[0]};
        for (double x : p) {
            sum += x;
            size += std::fabs(x);
        }
    }
    const double bound = (6.0 * static_cast<double>(faces.size()) + 16.0) * 0x1p-52 * size;
    if (std::isfinite(bound) && size > 0x1p-900 && std::fabs(sum) > bound) return sum > 0 ? 1 : -1;
    Rational exact;
    for (const auto& t : faces) exact += dot(points[t[0]], cross(points[t[1]], points[t[2]]));
    return exact.sign();
}

// Every directed edge once and its reverse once; else the first face on a
// faulty edge. The indices are known to be below the number of points.
void check_edges(const std::vector<std::array<std::uint64_t, 3>>& faces, const std::vector<Vec3>& at) {
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
    std::size_t worst = faces.size();
    std::string what;
    for (std::size_t i = 0; i < uses.size();) {
        std::size_t j = i;
        int forward = 0, backward = 0;
        for (; j < uses.size() && uses[j][0] == uses[i][0] && uses[j][1] == uses[i][1]; ++j) {
            (uses[j][2] % 2 == 1 ? forward : backward) += 1;
        }
        const std::size_t face = uses[i][2] / 2;  // the smallest face on the edge
        if ((forward != 1 || backward != 1) && face < worst) {
            const std::uint64_t lo = packed ? uses[i][0] >> 32 : uses[i][0];
            const std::uint64_t hi = packed ? uses[i][0] & 0xffffffffu : uses[i][1];
            const std::string l = std::to_string(lo), h = std::to_string(hi);
            worst = face;
            what = "the edge from vertex " + l + " " + plain_point_text(at[lo]) + " to vertex " + h + " " +
                   plain_point_text(at[hi]) + " has " + std::to_string(forward) + " triangle(s) running " + l + "->" +
                   h + " and " + std::to_string(backward) + " the other way; each edge needs one each way (" +
                   (forward + backward < 2 ? "the mesh has a hole there"
                                           : "more than two triangles meet there, or they face different ways") +
                   ")";
        }
        i = j;
    }
    if (worst < faces.size()) reject(PanicKind::not_manifold, worst, what);
}

}  // namespace

Solid solid_from_triangles(std::vector<Vec3> points, const std::vector<std::array<std::uint64_t, 3>>& faces,
                           const std::string& label) {
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
    check_edges(faces, points);
    const bool flip = !faces.empty() && volume_sign(points, f, faces) < 0;
    Solid out;
    out.polygons.reserve(faces.size());
    PlaneScratch scratch;
    std::uint64_t done = 0;
    for (const auto& t : faces) {
        if (done % 256 == 0) guard::progress("from_mesh", done, faces.size());
        ++done;
        guard::poll(4);
        const std::uint64_t i = t[0], j = flip ? t[2] : t[1], k = flip ? t[1] : t[2];
        std::optional<Plane> plane = integer_plane(points[i], points[j], points[k], scratch);
        out.polygons.push_back(
            Polygon::assemble({points[i], points[j], points[k]}, {f[i], f[j], f[k]},
                              plane ? std::move(*plane) : Plane::from_points(points[i], points[j], points[k]), label));
    }
    return out;
}

}  // namespace corv
