// Filtered predicates: a sign computed in doubles from the correctly rounded
// copies of exact values, trusted only when it clears a derived error bound;
// whatever the screen cannot settle the caller decides exactly. A screen
// never changes a verdict, it only skips exact arithmetic.
//
// The bound of a plane-side or dot-product screen. The expression is
// h = ((a0*b0 + a1*b1) + a2*b2) - w over doubles ai, bi, w that are the
// rounded copies of exact values Ai, Bi, W (u = 2^-53):
// - a finite copy of a normal-range value is within u of it, relatively; a
//   value below 2^-1022 may round to a subnormal or to zero, with an
//   absolute error below 2^-1074;
// - each product then differs from Ai*Bi by at most (3u + 3u^2)|ai*bi| plus,
//   for underflowed factors, 2^-1074 times the other factor (below 2^1024,
//   as it is finite): below 2^-50 per term;
// - the three additions add at most 3u times the sum of magnitudes
//   M = |a0*b0| + |a1*b1| + |a2*b2| + |w|.
// In all |h - H| <= 7u*M + 3*2^-50 < 2^-48*(M + 1). The screen uses
// e = 2^-48*(M + 1) (the magnitudes summed in doubles, whose own rounding is
// far inside the slack): |h| > e proves sign(H) = sign(h). An infinite or NaN
// h proves nothing and goes to the exact test.
#pragma once

#include <algorithm>
#include <array>
#include <cmath>
#include <cstddef>
#include <cstdint>

namespace corv::filtered {

using Double3 = std::array<double, 3>;

inline constexpr double kDotSlack = 0x1p-48;

// The sign of a.b - w when the doubles settle it, else 0 (go exact).
inline int dot_sign(const Double3& a, const Double3& b, double w) {
    const double a0 = a[0] * b[0];
    const double a1 = a[1] * b[1];
    const double a2 = a[2] * b[2];
    const double h = ((a0 + a1) + a2) - w;
    if (!std::isfinite(h)) return 0;
    const double e = ((((std::fabs(a1) + std::fabs(a0)) + std::fabs(a2)) + std::fabs(w)) + 1.0) * kDotSlack;
    if (h > e) return 1;
    if (h < -e) return -1;
    return 0;
}

// The sign of the 2-D orientation (b - a) x (c - a), that is
// (bx - ax)(cy - ay) - (by - ay)(cx - ax), when the doubles settle it, else 0
// (go exact). Bound: let M be the largest magnitude among the six doubles,
// kept within 2^-400 .. 2^400, and u = 2^-53.
// - each double is within u*M of its exact value (or within 2^-1074, for a
//   value below 2^-1022);
// - each computed difference is at most 2M and within 2uM (its inputs) plus
//   2uM (its own rounding), 4uM in all, of the exact difference;
// - each product of two differences is then within 2M*4uM twice (the
//   factors' errors) plus 4uM^2 (its rounding) of the exact one: 20uM^2;
// - the final difference of two products below 4M^2 each adds 8uM^2.
// In all 48uM^2 plus second-order terms. A tiny input's absolute error moves
// a product by at most 2^-1074 * 2M, and an underflowed step is off by at
// most 2^-1075: with M >= 2^-400 both are below 2^-200 * u*M^2. No step
// overflows (|products| <= 2^803). A determinant beyond 64uM^2 = 2^-47 M^2
// (m*m rounds by at most u, inside the slack) has the exact sign. Outside
// the range, or with an infinite or NaN input, the answer is 0.
inline int orient2d_sign(double ax, double ay, double bx, double by, double cx, double cy) {
    const double m =
        std::max({std::fabs(ax), std::fabs(ay), std::fabs(bx), std::fabs(by), std::fabs(cx), std::fabs(cy)});
    if (!(m >= 0x1p-400 && m <= 0x1p400)) return 0;
    const double det = (bx - ax) * (cy - ay) - (by - ay) * (cx - ax);
    const double bound = 0x1p-47 * m * m;
    if (det > bound) return 1;
    if (det < -bound) return -1;
    return 0;
}

// A plane-side screen for a set of points (a polygon's corners), from their
// doubles' bounding box, given as its centre c, half-widths h and largest
// magnitudes m per axis (computed in doubles from the corners lo, hi:
// c = (lo + hi)/2, h = (hi - lo)/2, m = max(|lo|, |hi|)); abs_n holds |n|.
//
// Bound: let Mb = sum |ni|*mi + |w|. Every point of the set has magnitudes
// M <= Mb in the sense of dot_sign, so its side value h = n.x - w, evaluated
// as dot_sign does, is within e = 2^-48*(Mb + 1) of the exact one: one slack
// serves every point of the set. Over the box, n.x - w lies within
// r = sum |ni|*hi of n.c - w; the double evaluation of c and h, of n.c - w
// and of r takes about a dozen roundings of numbers below 2*Mb (under
// 14u*Mb), so low = n.c - w - r > e proves every point in front, and
// high = n.c - w + r < -e every point behind. That holds while c and h are
// finite; one that overflowed (lo + hi beyond the doubles' range, with a
// tiny ni keeping ni*ci small) settles nothing for the whole set.
struct BoxScreen {
    int whole;     // +1 every point in front, -1 every point behind, 0 unknown
    double slack;  // e for point_side; +inf when the doubles are unusable
};

inline BoxScreen box_screen(const Double3& n, const Double3& abs_n, double w, const Double3& c, const Double3& h,
                            const Double3& m) {
    const double mag = ((abs_n[0] * m[0] + abs_n[1] * m[1]) + abs_n[2] * m[2]) + std::fabs(w);
    // Far from overflow, so no evaluation below can round to infinity.
    if (!(mag < 0x1p1000)) return {0, HUGE_VAL};
    const double e = (mag + 1.0) * kDotSlack;
    const double centre = ((n[0] * c[0] + n[1] * c[1]) + n[2] * c[2]) - w;
    const double radius = (abs_n[0] * h[0] + abs_n[1] * h[1]) + abs_n[2] * h[2];
    // c and h are the caller's: lo + hi (or hi - lo) may have overflowed even
    // where a tiny normal component keeps mag small. Then only the points
    // can be screened.
    if (!std::isfinite(centre) || !std::isfinite(radius)) return {0, e};
    if (centre - radius > e) return {1, e};
    if (centre + radius < -e) return {-1, e};
    return {0, e};
}

// The side of one point of a screened set, or 0 to go exact. NaN (from an
// unusable double) fails both comparisons and goes exact.
inline int point_side(const Double3& n, double w, const Double3& x, double slack) {
    const double h = ((n[0] * x[0] + n[1] * x[1]) + n[2] * x[2]) - w;
    if (h > slack) return 1;
    if (h < -slack) return -1;
    return 0;
}

// Whether the doubles prove that a loop's vector area is not zero (false:
// unknown, go exact). at(k) gives the double copy of corner k of n >= 3.
// The fan sum's error grows with the magnitudes of the coordinates (not of
// their differences) and with the corner count: each term carries a
// relative error of a few u against those magnitudes (rounded inputs,
// differences, products) plus one u per accumulation step, which
// (n + 16) * 2^-50 covers with a wide margin; 1e-290 covers underflow, and
// a sum below 1e-7 is never trusted.
template <class At>
bool floats_prove_area(std::size_t n, At&& at) {
    const auto& o = at(0);
    double sx = 0, sy = 0, sz = 0;
    double mag = 0;
    for (std::size_t i = 1; i + 1 < n; ++i) {
        const auto& p = at(i);
        const auto& q = at(i + 1);
        const double ax = p[0] - o[0], ay = p[1] - o[1], az = p[2] - o[2];
        const double bx = q[0] - o[0], by = q[1] - o[1], bz = q[2] - o[2];
        sx += ay * bz - az * by;
        sy += az * bx - ax * bz;
        sz += ax * by - ay * bx;
        const double Ax = std::fabs(p[0]) + std::fabs(o[0]), Ay = std::fabs(p[1]) + std::fabs(o[1]),
                     Az = std::fabs(p[2]) + std::fabs(o[2]);
        const double Bx = std::fabs(q[0]) + std::fabs(o[0]), By = std::fabs(q[1]) + std::fabs(o[1]),
                     Bz = std::fabs(q[2]) + std::fabs(o[2]);
        mag += (Ay * Bz + Az * By) + (Az * Bx + Ax * Bz) + (Ax * By + Ay * Bx);
    }
    const double g = std::fabs(sx) + std::fabs(sy) + std::fabs(sz);
    if (!(g > 1e-7) || !std::isfinite(g)) return false;
    const double bound = mag * (static_cast<double>(n) + 16.0) * 0x1p-50 + 1e-290;
    if (!std::isfinite(bound)) return false;
    return g > bound;
}

// How many decisions on this thread the screens left to exact arithmetic.
struct Fallbacks {
    std::uint64_t side = 0;    // plane sides and dot signs
    std::uint64_t area = 0;    // polygon area tests
    std::uint64_t orient = 0;  // 2-D orientations (outlines, planar meshes, triangle areas)
};

// This thread's counts (each thread has its own; nothing is shared).
Fallbacks& fallbacks() noexcept;

}  // namespace corv::filtered
