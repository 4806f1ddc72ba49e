#include "nurbs/deboor.h"

#include <string>

#include "core/guard.h"
#include "core/panic.h"

namespace corv {
namespace {

[[noreturn]] void short_point(std::size_t j, std::size_t size, std::size_t dim) {
    throw Panic(PanicKind::index, "index out of range: control point " + std::to_string(j) + " has " +
                                      std::to_string(size) + " coordinates, expected " + std::to_string(dim));
}

// The blending factor of one triangle step; 0 for a zero-length interval.
Rational alpha(const Rational& left, const Rational& right, const Rational& t) {
    Rational den = right - left;
    if (den.is_zero()) return Rational(0);
    return (t - left) / den;
}

// out[i] = (1 - a) * lo[i] + a * hi[i] for i < dim, written as lo + a (hi - lo).
// out may alias hi.
void blend(const HPoint& lo, const HPoint& hi, const Rational& a, std::size_t dim, HPoint& out) {
    if (a.is_zero()) {
        out.assign(lo.begin(), lo.begin() + static_cast<std::ptrdiff_t>(dim));
        return;
    }
    if (a == Rational(1)) {
        if (&out != &hi) out.assign(hi.begin(), hi.begin() + static_cast<std::ptrdiff_t>(dim));
        out.resize(dim);
        return;
    }
    out.resize(dim);
    for (std::size_t i = 0; i < dim; ++i) {
        Rational diff = hi[i] - lo[i];
        if (diff.is_zero()) {
            out[i] = lo[i];
        } else {
            out[i] = lo[i] + a * diff;
        }
    }
}

}  // namespace

std::size_t deboor_span(std::uint64_t p, const std::vector<Rational>& knots, std::size_t n, const Rational& t) {
    if (t >= at_or_panic(knots, n, "knot vector")) return n - 1;
    // n < p + 2, written so that a huge p cannot overflow.
    bool nothing_to_search = n < 2 || n - 2 < p;
    if (t <= at_or_panic(knots, p, "knot vector") || nothing_to_search) return static_cast<std::size_t>(p);
    std::size_t low = static_cast<std::size_t>(p);
    std::size_t high = n;
    for (;;) {
        std::size_t mid = low + (high - low) / 2;
        if (t >= knots[mid]) {
            low = mid;
            if (high - low <= 1) break;
        } else {
            if (mid - low <= 1) break;
            high = mid;
        }
    }
    return low;
}

DeBoorShape deboor_shape(std::uint64_t p, const std::vector<Rational>& knots, const std::vector<std::size_t>& sizes,
                         const Rational& t) {
    const std::size_t n = sizes.size();
    if (n == 0) throw Panic(PanicKind::index, "index out of range: no control points");
    const std::size_t k = deboor_span(p, knots, n, t);
    // The local points k - p .. k must all exist; checked before anything of
    // size p + 1 is allocated.
    if (p >= n) {
        throw Panic(PanicKind::index,
                    "index out of range: " + std::to_string(n) + " control points for degree " + std::to_string(p));
    }
    if (p == 0) return {k, sizes[k]};
    const std::size_t dim = sizes[0];
    at_or_panic(knots, k + static_cast<std::size_t>(p), "knot vector");
    for (std::size_t j = k - static_cast<std::size_t>(p); j <= k; ++j) {
        if (sizes[j] < dim) short_point(j, sizes[j], dim);
    }
    return {k, dim};
}

HPoint deboor_at(std::uint64_t p, const std::vector<Rational>& knots, const std::vector<HPoint>& points,
                 const Rational& t, const DeBoorShape& shape) {
    const std::size_t k = shape.k;
    const std::size_t dim = shape.dim;
    // Cheap guards so that a shape from other inputs cannot read out of range.
    if (p > k || k >= points.size() || (p > 0 && k + p >= knots.size())) {
        throw Panic(PanicKind::index, "index out of range: span does not fit the points and knots");
    }
    if (p == 0) return points[k];
    const std::size_t deg = static_cast<std::size_t>(p);
    const std::size_t first = k - deg;
    for (std::size_t j = first; j <= k; ++j) {
        if (points[j].size() < dim) short_point(j, points[j].size(), dim);
    }

    // L[j] for j >= r holds level r of the triangle; level 0 is read straight
    // from the control points, so L[0] is never filled.
    std::vector<HPoint> L(deg + 1);
    for (std::size_t j = deg; j >= 1; --j) {
        Rational a = alpha(knots[first + j], knots[k + j], t);
        blend(points[first + j - 1], points[first + j], a, dim, L[j]);
    }
    for (std::size_t r = 2; r <= deg; ++r) {
        guard::progress("nurbs", r - 1, deg - 1);
        for (std::size_t j = deg; j >= r; --j) {
            Rational a = alpha(knots[first + j], knots[k + 1 + j - r], t);
            blend(L[j - 1], L[j], a, dim, L[j]);
            guard::poll(static_cast<std::int64_t>(dim) + 1);
        }
    }
    return std::move(L[deg]);
}

HPoint deboor_h(std::uint64_t p, const std::vector<Rational>& knots, const std::vector<HPoint>& points,
                const Rational& t) {
    std::vector<std::size_t> sizes;
    sizes.reserve(points.size());
    for (const HPoint& pt : points) sizes.push_back(pt.size());
    return deboor_at(p, knots, points, t, deboor_shape(p, knots, sizes, t));
}

}  // namespace corv
