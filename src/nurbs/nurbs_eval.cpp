#include "nurbs/nurbs_eval.h"

#include <algorithm>
#include <string>
#include <vector>

#include "core/panic.h"

namespace corv {
namespace {

Vec3 projected(const HPoint& h) {
    if (h.size() < 4) {
        throw Panic(PanicKind::index, "index out of range: evaluated point has " + std::to_string(h.size()) +
                                          " entries, needs 3 coordinates and a weight");
    }
    if (h[3].is_zero()) throw Panic(PanicKind::division_by_zero, "division by zero: blended weight is 0");
    return {h[0] / h[3], h[1] / h[3], h[2] / h[3]};
}

}  // namespace

void check_control_point(std::size_t coordinate_count) {
    if (coordinate_count > 3) {
        throw Panic(PanicKind::bad_shape,
                    "control point has " + std::to_string(coordinate_count) + " coordinates, at most 3 are allowed");
    }
}

HPoint homogeneous(Coords coords, const Rational& w) {
    check_control_point(coords.size());
    if (!(w == Rational(1))) {
        for (Rational& c : coords) c = c * w;
    }
    coords.push_back(w);  // the storage becomes the homogeneous point
    return coords;
}

Vec3 nurbs_curve_eval(std::uint64_t degree, const std::vector<Coords>& cps, const std::vector<Rational>& knots,
                      const Rational& t, const std::optional<std::vector<Rational>>& weights) {
    const Rational one(1);
    const std::size_t n = weights ? std::min(cps.size(), weights->size()) : cps.size();
    std::vector<HPoint> pts;
    pts.reserve(n);
    for (std::size_t i = 0; i < n; ++i) pts.push_back(homogeneous(cps[i], weights ? (*weights)[i] : one));
    return projected(deboor_h(degree, knots, pts, t));
}

void add_surface_row(SurfaceRows& rows, std::uint64_t pv, const std::vector<Rational>& kv, const Rational& v,
                     std::vector<HPoint> row) {
    std::vector<std::size_t> sizes;
    sizes.reserve(row.size());
    for (const HPoint& pt : row) sizes.push_back(pt.size());
    rows.shapes.push_back(deboor_shape(pv, kv, sizes, v));
    rows.rows.push_back(std::move(row));
}

Vec3 eval_surface_rows(const SurfaceRows& rows, std::uint64_t pu, std::uint64_t pv, const std::vector<Rational>& ku,
                       const std::vector<Rational>& kv, const Rational& u, const Rational& v) {
    std::vector<std::size_t> sizes;
    sizes.reserve(rows.shapes.size());
    for (const DeBoorShape& shape : rows.shapes) sizes.push_back(shape.dim);
    const DeBoorShape col_shape = deboor_shape(pu, ku, sizes, u);
    std::vector<HPoint> column(rows.rows.size());
    for (std::size_t i = col_shape.k - static_cast<std::size_t>(pu); i <= col_shape.k; ++i) {
        column[i] = deboor_at(pv, kv, rows.rows[i], v, rows.shapes[i]);
    }
    return projected(deboor_at(pu, ku, column, u, col_shape));
}

Vec3 nurbs_surface_eval(std::uint64_t pu, std::uint64_t pv, const std::vector<std::vector<Coords>>& net,
                        const std::vector<Rational>& ku, const std::vector<Rational>& kv, const Rational& u,
                        const Rational& v, const std::optional<std::vector<std::vector<Rational>>>& weights) {
    const Rational one(1);
    SurfaceRows rows;
    rows.rows.reserve(net.size());
    rows.shapes.reserve(net.size());
    for (std::size_t i = 0; i < net.size(); ++i) {
        const std::vector<Rational>* wrow = weights ? &at_or_panic(*weights, i, "weights") : nullptr;
        std::vector<HPoint> pts;
        pts.reserve(net[i].size());
        for (std::size_t j = 0; j < net[i].size(); ++j) {
            pts.push_back(homogeneous(net[i][j], wrow ? at_or_panic(*wrow, j, "weights row") : one));
        }
        add_surface_row(rows, pv, kv, v, std::move(pts));
    }
    return eval_surface_rows(rows, pu, pv, ku, kv, u, v);
}

}  // namespace corv
