#include "canonical/canonical.h"

#include <cstdint>
#include <cstdlib>
#include <numeric>

#include "canonical/line_position.h"
#include "core/machine_int.h"
#include "core/panic.h"
#include "core/small_fractions.h"

namespace corv {
namespace {

// Most geometry has small integer coordinates; those are read into machine
// integers so the canonical forms need no big-number work.
bool small_integer(const Rational& q, std::int64_t& out) {
    constexpr std::int64_t kLimit = std::int64_t(1) << 53;
    auto parts = q.small_parts();
    if (!parts || parts->second != 1 || parts->first <= -kLimit || parts->first >= kLimit) return false;
    out = parts->first;
    return true;
}

template <std::size_t N>
bool small_integers(const std::array<const Rational*, N>& qs, std::array<std::int64_t, N>& out) {
    for (std::size_t i = 0; i < N; ++i) {
        if (!small_integer(*qs[i], out[i])) return false;
    }
    return true;
}

// Divides by the gcd of the magnitudes (unless all are zero) and makes the
// first non-zero entry positive; returns false for the all-zero tuple.
template <std::size_t N>
bool normalise_small(std::array<std::int64_t, N>& v) {
    std::int64_t g = 0;
    for (std::int64_t x : v) g = std::gcd(g, x);  // magnitudes stay below 2^53
    if (g == 0) return false;
    std::int64_t sign = 1;
    for (std::int64_t x : v) {
        if (x != 0) {
            sign = x < 0 ? -1 : 1;
            break;
        }
    }
    for (std::int64_t& x : v) x = x / g * sign;
    return true;
}

// The general path: clear the denominators with their lcm, then the same
// normalisation on big integers.
template <std::size_t N>
bool normalise_big(const std::array<const Rational*, N>& qs, std::array<Integer, N>& out) {
    const Integer l = common_denominator(qs);
    bool scaled = l != Integer(1);
    for (std::size_t i = 0; i < N; ++i) {
        out[i] = qs[i]->numerator();
        if (scaled) out[i] = out[i] * divexact(l, qs[i]->denominator());
    }
    Integer g;
    for (const Integer& x : out) g = gcd(g, x);
    if (g.is_zero()) return false;
    bool negate = false;
    for (const Integer& x : out) {
        if (!x.is_zero()) {
            negate = x.sign() < 0;
            break;
        }
    }
    for (Integer& x : out) {
        x = divexact(x, g);
        if (negate) x = -x;
    }
    return true;
}

// The index of the only non-zero coordinate of v, 3 when there is none, or
// 4 when there are several.
std::size_t sole_nonzero(const Vec3& v) {
    std::size_t found = 3;
    for (std::size_t i = 0; i < 3; ++i) {
        if (v[i].is_zero()) continue;
        if (found != 3) return 4;
        found = i;
    }
    return found;
}

// The exact unit normal when the normal's parts and the lcm of its
// denominators are below 2^31, without big integers: the normal scaled to
// integers N (each below 2^62), its first non-zero entry made positive,
// then N / |N| when |N|^2 (below 2^126) is a square. The canonical plane's
// normal is the same direction scaled by a positive rational, so both give
// the same unit vector, and the same answer on whether one exists (an
// integer factor k multiplies |N|^2 by k^2, which keeps squares and
// non-squares apart).
// Nothing (outer) when the values are too big or the normal is zero: the
// general path decides.
std::optional<std::optional<Vec3>> small_unit_normal(const Vec3& n) {
    std::int64_t scaled[3], lcm;
    if (!read_scaled_31({&n.x, &n.y, &n.z}, scaled, lcm)) return std::nullopt;
    const std::int64_t first = scaled[0] != 0 ? scaled[0] : (scaled[1] != 0 ? scaled[1] : scaled[2]);
    if (first == 0) return std::nullopt;
    unsigned __int128 s = 0;
    for (std::int64_t& x : scaled) {
        if (first < 0) x = -x;
        s += static_cast<unsigned __int128>(__int128(x) * x);
    }
    const std::uint64_t r = isqrt128(s);
    if (static_cast<unsigned __int128>(r) * r != s) return std::optional<Vec3>{};
    const auto root = static_cast<__int128>(r);
    return std::optional<Vec3>{Vec3{Rational::from_ratio_i128(scaled[0], root),
                                    Rational::from_ratio_i128(scaled[1], root),
                                    Rational::from_ratio_i128(scaled[2], root)}};
}

}  // namespace

PlaneKey canonical_plane(const Plane& plane) {
    // Axis-aligned planes (the common case): n_i x_i = w is x_i = w / n_i, and
    // with w / n_i = p / q in lowest terms the canonical form is q x_i = p.
    std::size_t axis = sole_nonzero(plane.normal);
    if (axis < 3) {
        Rational t = plane.offset / plane.normal[axis];
        PlaneKey key{Integer(0), Integer(0), Integer(0), t.numerator()};
        key[axis] = t.denominator();
        return key;
    }
    std::array<const Rational*, 4> qs{&plane.normal.x, &plane.normal.y, &plane.normal.z, &plane.offset};
    std::array<std::int64_t, 4> small{};
    if (small_integers(qs, small)) {
        normalise_small(small);
        return {Integer(small[0]), Integer(small[1]), Integer(small[2]), Integer(small[3])};
    }
    PlaneKey key;
    normalise_big(qs, key);
    return key;
}

PlaneKey coplanar_key(const Plane& plane) {
    PlaneKey k = canonical_plane(plane);
    PlaneKey m{-k[0], -k[1], -k[2], -k[3]};
    return k <= m ? k : m;
}

std::string plane_key_text(const PlaneKey& key) {
    std::string out;
    for (std::size_t i = 0; i < key.size(); ++i) {
        if (i > 0) out += ',';
        out += key[i].text();
    }
    return out;
}

std::optional<Vec3> unit_normal(const Plane& plane) {
    if (std::optional<std::optional<Vec3>> small = small_unit_normal(plane.normal)) return std::move(*small);
    PlaneKey k = canonical_plane(plane);
    Integer s = k[0] * k[0] + k[1] * k[1] + k[2] * k[2];
    if (s.is_zero())
        throw Panic(PanicKind::division_by_zero, "unit_normal: division by zero (the plane has a zero normal)");
    Integer r = isqrt(s);
    if (r * r != s) return std::nullopt;
    return Vec3{Rational(k[0], r), Rational(k[1], r), Rational(k[2], r)};
}

bool coplanar(const Plane& a, const Plane& b) {
    const Vec3 zero{};
    if (a.normal == zero || b.normal == zero) return coplanar_key(a) == coplanar_key(b);
    // Both normals non-zero: the keys agree when (n_b, w_b) = k (n_a, w_a)
    // for some k != 0, that is when the normals are parallel and, for a
    // component i where n_a is not zero, w_b n_a,i = w_a n_b,i.
    if (!(cross(a.normal, b.normal) == zero)) return false;
    const std::size_t i = !a.normal.x.is_zero() ? 0 : (!a.normal.y.is_zero() ? 1 : 2);
    return b.offset * a.normal[i] == a.offset * b.normal[i];
}

std::optional<Vec3> canon_dir(const Vec3& v) {
    std::size_t axis = sole_nonzero(v);
    if (axis == 3) return std::nullopt;
    if (axis < 3) {
        Vec3 c{Rational(0), Rational(0), Rational(0)};
        c[axis] = Rational(1);
        return c;
    }
    std::array<const Rational*, 3> qs{&v.x, &v.y, &v.z};
    std::array<std::int64_t, 3> small{};
    if (small_integers(qs, small)) {
        if (!normalise_small(small)) return std::nullopt;
        return Vec3{Rational(small[0]), Rational(small[1]), Rational(small[2])};
    }
    std::array<Integer, 3> big;
    if (!normalise_big(qs, big)) return std::nullopt;
    return Vec3{Rational::from_integer(big[0]), Rational::from_integer(big[1]), Rational::from_integer(big[2])};
}

std::optional<Vec3> unit_dir(const Vec3& v) {
    Rational s = dot(v, v);
    if (s.is_zero()) throw Panic(PanicKind::division_by_zero, "unit_dir: division by zero (zero vector)");
    if (const auto parts = s.small_parts()) {
        // s = num / den in lowest terms is a square exactly when both are.
        const auto num = static_cast<std::uint64_t>(parts->first);  // s > 0
        const auto den = static_cast<std::uint64_t>(parts->second);
        const std::uint64_t p = isqrt128(num), q = isqrt128(den);
        if (p * p != num || q * q != den) return std::nullopt;
        const Rational r = Rational::from_ratio_i128(p, q);
        return Vec3{v.x / r, v.y / r, v.z / r};
    }
    Integer num = s.numerator();
    Integer den = s.denominator();
    Integer p = isqrt(num);
    if (p * p != num) return std::nullopt;
    Integer q = isqrt(den);
    if (q * q != den) return std::nullopt;
    Rational r(p, q);
    return Vec3{v.x / r, v.y / r, v.z / r};
}

std::optional<std::string> line_key(const Vec3& a, const Vec3& b) {
    std::optional<Vec3> c = canon_dir(sub(b, a));
    if (!c) return std::nullopt;
    return line_key_through(a, *c);
}

}  // namespace corv
