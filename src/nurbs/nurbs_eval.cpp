#include "nurbs/nurbs_eval.h"

#include <algorithm>
#include <string>
#include <vector>

#include "core/panic.h"
#include "core/rational.h"
#include "nurbs/deboor.h"

namespace corv {
namespace {

std::vector<Rational> parse_all(const Texts& texts) {
    std::vector<Rational> out;
    out.reserve(texts.size());
    for (const std::string& s : texts) out.push_back(parse_r(s));
    return out;
}

// (w*c0, ..., w*c_{m-1}, w). A fourth coordinate would be blended into the
// place of the weight and silently divide by the wrong value, so points with
// more than three coordinates are refused.
HPoint homogeneous(const Texts& coords, const Rational& w) {
    if (coords.size() > 3) {
        throw Panic(PanicKind::bad_shape, "control point has " + std::to_string(coords.size()) + " coordinates, at most 3 are allowed");
    }
    HPoint h;
    h.reserve(coords.size() + 1);
    const bool unit = w == Rational(1);
    for (const std::string& s : coords) {
        Rational c = parse_r(s);
        h.push_back(unit ? std::move(c) : c * w);
    }
    h.push_back(w);
    return h;
}

Texts projected(const HPoint& h) {
    if (h.size() < 4) {
        throw Panic(PanicKind::index, "index out of range: evaluated point has " + std::to_string(h.size()) +
                    " entries, needs 3 coordinates and a weight");
    }
    if (h[3].is_zero()) throw Panic(PanicKind::division_by_zero, "division by zero: blended weight is 0");
    return {(h[0] / h[3]).text(), (h[1] / h[3]).text(), (h[2] / h[3]).text()};
}

}  // namespace

Texts nurbs_curve_eval(std::uint64_t degree, const TextRows& cps, const Texts& knots, const std::string& t,
                       const std::optional<Texts>& weights) {
    const std::vector<Rational> kn = parse_all(knots);
    const std::vector<Rational> w = weights ? parse_all(*weights) : std::vector<Rational>(cps.size(), Rational(1));
    const std::size_t n = std::min(cps.size(), w.size());
    std::vector<HPoint> pts;
    pts.reserve(n);
    for (std::size_t i = 0; i < n; ++i) pts.push_back(homogeneous(cps[i], w[i]));
    const Rational tt = parse_r(t);
    return projected(deboor_h(degree, kn, pts, tt));
}

// Every row is parsed and checked against kv and v as if it were evaluated, so
// a bad row fails the call wherever it lies; only the rows that the u span
// blends are then evaluated, since the others cannot change the result.
Texts nurbs_surface_eval(std::uint64_t pu, std::uint64_t pv, const TextNet& net, const Texts& ku, const Texts& kv,
                         const std::string& u, const std::string& v, const std::optional<TextRows>& weights) {
    const std::vector<Rational> knu = parse_all(ku);
    const std::vector<Rational> knv = parse_all(kv);
    const Rational vv = parse_r(v);
    const Rational one(1);
    std::vector<std::vector<HPoint>> rows(net.size());
    std::vector<DeBoorShape> row_shapes;
    row_shapes.reserve(net.size());
    std::vector<std::size_t> sizes;
    for (std::size_t i = 0; i < net.size(); ++i) {
        const TextRows& row = net[i];
        const Texts* wrow = weights ? &at_or_panic(*weights, i, "weights") : nullptr;
        std::vector<HPoint>& pts = rows[i];
        pts.reserve(row.size());
        for (std::size_t j = 0; j < row.size(); ++j) {
            if (wrow) {
                const Rational w = parse_r(at_or_panic(*wrow, j, "weights row"));
                pts.push_back(homogeneous(row[j], w));
            } else {
                pts.push_back(homogeneous(row[j], one));
            }
        }
        sizes.clear();
        for (const HPoint& pt : pts) sizes.push_back(pt.size());
        row_shapes.push_back(deboor_shape(pv, knv, sizes, vv));
    }
    const Rational uu = parse_r(u);
    sizes.clear();
    for (const DeBoorShape& shape : row_shapes) sizes.push_back(shape.dim);
    const DeBoorShape col_shape = deboor_shape(pu, knu, sizes, uu);
    std::vector<HPoint> column(net.size());
    for (std::size_t i = col_shape.k - static_cast<std::size_t>(pu); i <= col_shape.k; ++i) {
        column[i] = deboor_at(pv, knv, rows[i], vv, row_shapes[i]);
    }
    return projected(deboor_at(pu, knu, column, uu, col_shape));
}

}  // namespace corv
