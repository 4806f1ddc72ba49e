#include "local/filtered.h"

#include <cmath>

namespace corv::local {
namespace {

// Error analysis shared by both orientation screens. Let u = 2^-53. Every
// float input is the correctly rounded copy x~ = x (1 + t), |t| <= u, of an
// exact coordinate x. For a difference of two inputs p - a, with
// M = |p~| + |a~| (computed), the computed difference D~ = fl(p~ - a~)
// satisfies |D~ - D| <= u|p| + u|a| + u|D~| <= 3u M (to first order), and
// |D~|, |D| <= (1 + 3u) M.
//
// 2-D: E = D1_i D2_j - D1_j D2_i. Replacing each exact D by its computed
// copy moves each product by at most 6u M M (both factors wrong by 3u M),
// and evaluating two products and one difference in doubles adds at most
// 2u (|D1_i D2_j| + |D1_j D2_i|). With P2 = M1_i M2_j + M1_j M2_i the total
// is below 9u P2 plus second-order terms; the screen uses 16u = 2^-49 times
// the computed P2 (itself within 3u of P2).
//
// 3-D: T = D3 . (D1 x D2), six products of three differences. Input errors
// move each triple product by at most 9u M M M and evaluation (two products
// and a difference per cross component, three products and two sums for the
// dot) adds at most 5u times the sum of the magnitudes: in all below 15u P3,
// P3 the sum over the six terms of the M products. The screen uses
// 64u = 2^-47 times the computed P3.
//
// Underflow: when P falls below 2^-900 (or is not finite) the screen gives
// up, so that absolute rounding errors of subnormal products, at most
// 2^-1074 each, are negligible against the bound.
constexpr double kBound2 = 0x1p-49;
constexpr double kBound3 = 0x1p-47;
constexpr double kTiny = 0x1p-900;

int rational_sign_diff(const Rational& a, const Rational& b) {
    auto c = a <=> b;
    return c < 0 ? -1 : (c > 0 ? 1 : 0);
}

}  // namespace

int compare_exact(const Rational& a, double fa, const Rational& b, double fb) {
    if (fa < fb) return -1;
    if (fa > fb) return 1;
    return rational_sign_diff(a, b);
}

int orient2d_filter(const Float3& a, const Float3& b, const Float3& c, int axis_i, int axis_j) {
    const auto i = static_cast<std::size_t>(axis_i), j = static_cast<std::size_t>(axis_j);
    const double d1i = b[i] - a[i], d1j = b[j] - a[j];
    const double d2i = c[i] - a[i], d2j = c[j] - a[j];
    const double e = d1i * d2j - d1j * d2i;
    const double m1i = std::fabs(b[i]) + std::fabs(a[i]), m1j = std::fabs(b[j]) + std::fabs(a[j]);
    const double m2i = std::fabs(c[i]) + std::fabs(a[i]), m2j = std::fabs(c[j]) + std::fabs(a[j]);
    const double perm = m1i * m2j + m1j * m2i;
    if (!(perm >= kTiny) || !std::isfinite(perm) || !std::isfinite(e)) return 0;
    const double bound = perm * kBound2;
    if (e > bound) return 1;
    if (e < -bound) return -1;
    return 0;
}

int orient2d_exact(const Vec3& a, const Vec3& b, const Vec3& c, int i, int j) {
    const auto ui = static_cast<std::size_t>(i), uj = static_cast<std::size_t>(j);
    Rational l = (b[ui] - a[ui]) * (c[uj] - a[uj]);
    Rational r = (b[uj] - a[uj]) * (c[ui] - a[ui]);
    return rational_sign_diff(l, r);
}

int orient2d(const Vec3& a, const Float3& fa, const Vec3& b, const Float3& fb, const Vec3& c, const Float3& fc, int i,
             int j) {
    const int s = orient2d_filter(fa, fb, fc, i, j);
    return s != 0 ? s : orient2d_exact(a, b, c, i, j);
}

int orient3d_filter(const Float3& a, const Float3& b, const Float3& c, const Float3& d) {
    double D[3][3], M[3][3];
    const Float3* p[3] = {&b, &c, &d};
    for (std::size_t k = 0; k < 3; ++k) {
        for (std::size_t x = 0; x < 3; ++x) {
            D[k][x] = (*p[k])[x] - a[x];
            M[k][x] = std::fabs((*p[k])[x]) + std::fabs(a[x]);
        }
    }
    const double cx = D[0][1] * D[1][2] - D[0][2] * D[1][1];
    const double cy = D[0][2] * D[1][0] - D[0][0] * D[1][2];
    const double cz = D[0][0] * D[1][1] - D[0][1] * D[1][0];
    const double t = D[2][0] * cx + D[2][1] * cy + D[2][2] * cz;
    const double px = M[0][1] * M[1][2] + M[0][2] * M[1][1];
    const double py = M[0][2] * M[1][0] + M[0][0] * M[1][2];
    const double pz = M[0][0] * M[1][1] + M[0][1] * M[1][0];
    const double perm = M[2][0] * px + M[2][1] * py + M[2][2] * pz;
    if (!(perm >= kTiny) || !std::isfinite(perm) || !std::isfinite(t)) return 0;
    const double bound = perm * kBound3;
    if (t > bound) return 1;
    if (t < -bound) return -1;
    return 0;
}

int orient3d(const Vec3& a, const Float3& fa, const Vec3& b, const Float3& fb, const Vec3& c, const Float3& fc,
             const Vec3& d, const Float3& fd) {
    const int s = orient3d_filter(fa, fb, fc, fd);
    if (s != 0) return s;
    return dot(sub(b, a), cross(sub(c, a), sub(d, a))).sign();
}

}  // namespace corv::local
