#include "core/planar.h"

#include "core/filtered.h"

namespace corv {
namespace {

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

int PlanarView::orient(std::uint32_t a, std::uint32_t b, std::uint32_t c) const {
    const int s = filtered::orient2d_sign(fu(a), fv(a), fu(b), fv(b), fu(c), fv(c));
    if (s != 0) return s;
    ++filtered::fallbacks().orient;
    return ((u(b) - u(a)) * (v(c) - v(a)) - (v(b) - v(a)) * (u(c) - u(a))).sign();
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

}  // namespace corv
