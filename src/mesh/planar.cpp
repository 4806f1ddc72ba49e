#include "mesh/planar.h"

#include <algorithm>
#include <cmath>

namespace corv::mesh {
namespace {

// The double screen of a 2x2 determinant of coordinate differences
// (b - a) x (d - c). Every double is the correctly rounded coordinate, so it
// is within u*M of the exact one (u = 2^-53, M the largest magnitude among
// the eight doubles, kept within 2^-400 .. 2^400 so that neither overflow
// nor underflow interferes). Each computed difference is then within about
// 4uM of the exact one and at most 2M in size, each computed product within
// about 20uM^2, and the determinant within about 48uM^2 after its own
// rounding. A result
// beyond 2^-47 M^2 = 64uM^2 has the exact sign; anything closer, infinite or
// NaN is settled exactly.
int screened_sign(double au, double av, double bu, double bv, double cu, double cv, double du, double dv,
                  bool& settled) {
    double m = std::max({std::fabs(au), std::fabs(av), std::fabs(bu), std::fabs(bv), std::fabs(cu), std::fabs(cv),
                         std::fabs(du), std::fabs(dv)});
    settled = false;
    if (!(m >= 0x1p-400 && m <= 0x1p400)) return 0;
    double det = (bu - au) * (dv - cv) - (bv - av) * (du - cu);
    double bound = 0x1p-47 * m * m;
    settled = det > bound || det < -bound;
    return det > 0 ? 1 : -1;
}

int sign_of_cmp(const Rational& a, const Rational& b) {
    auto c = a <=> b;
    return c < 0 ? -1 : (c > 0 ? 1 : 0);
}

}  // namespace

Frame frame_for(const Vec3& normal) {
    std::size_t k = 0;
    for (std::size_t i = 1; i < 3; ++i) {
        if (abs(normal[i]) > abs(normal[k])) k = i;
    }
    auto a = static_cast<std::uint8_t>((k + 1) % 3), b = static_cast<std::uint8_t>((k + 2) % 3);
    // (u, v, k) is a right-handed cycle of the axes: seen from +k, u then v
    // turn counter-clockwise; seen from -k they turn the other way.
    return normal[k].sign() > 0 ? Frame{a, b} : Frame{b, a};
}

int PlanarView::orient(std::uint32_t a, std::uint32_t b, std::uint32_t c) const { return cross_sign(a, b, a, c); }

int PlanarView::cross_sign(std::uint32_t a, std::uint32_t b, std::uint32_t c, std::uint32_t d) const {
    bool settled = false;
    int s = screened_sign(fu(a), fv(a), fu(b), fv(b), fu(c), fv(c), fu(d), fv(d), settled);
    if (settled) return s;
    return ((u(b) - u(a)) * (v(d) - v(c)) - (v(b) - v(a)) * (u(d) - u(c))).sign();
}

int PlanarView::dot_sign(std::uint32_t a, std::uint32_t b, std::uint32_t c, std::uint32_t d) const {
    // (b - a) . (d - c) is the cross product of (b - a) with (d - c) turned a
    // quarter clockwise; the exact form is cheap enough for the rare callers.
    return ((u(b) - u(a)) * (u(d) - u(c)) + (v(b) - v(a)) * (v(d) - v(c))).sign();
}

int PlanarView::lex_cmp(std::uint32_t a, std::uint32_t b) const {
    if (a == b) return 0;
    // Rounding is monotone: different doubles order the exact values.
    if (fu(a) != fu(b)) return fu(a) < fu(b) ? -1 : 1;
    int c = sign_of_cmp(u(a), u(b));
    if (c != 0) return c;
    if (fv(a) != fv(b)) return fv(a) < fv(b) ? -1 : 1;
    return sign_of_cmp(v(a), v(b));
}

}  // namespace corv::mesh
