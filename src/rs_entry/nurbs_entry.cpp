#include "rs_entry/nurbs_entry.h"

#include <algorithm>
#include <utility>
#include <vector>

#include "core/panic.h"
#include "nurbs/nurbs_eval.h"
#include "rs_entry/number_text.h"

namespace corv::rs_entry {
namespace {

// The length is checked before any coordinate is read; room is left for the
// weight that homogeneous() appends.
Coords read_control_point(const Texts& texts) {
    check_control_point(texts.size());
    Coords point;
    point.reserve(texts.size() + 1);
    for (const std::string& t : texts) point.push_back(parse_r(t));
    return point;
}

Texts point_texts(const Vec3& p) { return {p.x.text(), p.y.text(), p.z.text()}; }

}  // namespace

Texts nurbs_curve_eval(std::uint64_t degree, const TextRows& cps, const Texts& knots, const std::string& t,
                       const std::optional<Texts>& weights) {
    const std::vector<Rational> kn = parse_all(knots);
    std::optional<std::vector<Rational>> w;
    if (weights) w = parse_all(*weights);
    const std::size_t n = w ? std::min(cps.size(), w->size()) : cps.size();
    std::vector<Coords> points;
    points.reserve(n);
    for (std::size_t i = 0; i < n; ++i) points.push_back(read_control_point(cps[i]));
    const Rational tt = parse_r(t);
    return point_texts(corv::nurbs_curve_eval(degree, points, kn, tt, w));
}

Texts nurbs_surface_eval(std::uint64_t pu, std::uint64_t pv, const TextNet& net, const Texts& ku, const Texts& kv,
                         const std::string& u, const std::string& v, const std::optional<TextRows>& weights) {
    const std::vector<Rational> knu = parse_all(ku);
    const std::vector<Rational> knv = parse_all(kv);
    const Rational vv = parse_r(v);
    const Rational one(1);
    SurfaceRows rows;
    rows.rows.reserve(net.size());
    rows.shapes.reserve(net.size());
    for (std::size_t i = 0; i < net.size(); ++i) {
        const TextRows& row = net[i];
        const Texts* wrow = weights ? &at_or_panic(*weights, i, "weights") : nullptr;
        std::vector<HPoint> pts;
        pts.reserve(row.size());
        for (std::size_t j = 0; j < row.size(); ++j) {
            if (wrow) {
                const Rational w = parse_r(at_or_panic(*wrow, j, "weights row"));
                pts.push_back(homogeneous(read_control_point(row[j]), w));
            } else {
                pts.push_back(homogeneous(read_control_point(row[j]), one));
            }
        }
        add_surface_row(rows, pv, knv, vv, std::move(pts));
    }
    const Rational uu = parse_r(u);
    return point_texts(eval_surface_rows(rows, pu, pv, knu, knv, uu, vv));
}

}  // namespace corv::rs_entry
