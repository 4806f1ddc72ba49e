// One point of a NURBS curve or tensor-product surface, exactly.
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "core/vec3.h"
#include "nurbs/deboor.h"

namespace corv {

using Coords = std::vector<Rational>;  // a control point's coordinates, at most three

// Refuses (Panic, bad_shape) a control point of more than three coordinates:
// a fourth would be blended into the place of the weight.
void check_control_point(std::size_t coordinate_count);

// (w*c0, ..., w*c_{m-1}, w), after check_control_point; built in the
// storage of coords (reserve one more entry to spare a reallocation).
HPoint homogeneous(Coords coords, const Rational& w);

// The curve of the given degree at t. Without weights every weight is 1;
// with weights only the first min(|cps|, |weights|) control points are used.
Vec3 nurbs_curve_eval(std::uint64_t degree, const std::vector<Coords>& cps, const std::vector<Rational>& knots,
                      const Rational& t, const std::optional<std::vector<Rational>>& weights);

// The rows of a surface's control net, homogeneous, each checked against the
// v knots and v as the evaluation will read it. Rows are added in order.
struct SurfaceRows {
    std::vector<std::vector<HPoint>> rows;
    std::vector<DeBoorShape> shapes;
};
void add_surface_row(SurfaceRows& rows, std::uint64_t pv, const std::vector<Rational>& kv, const Rational& v,
                     std::vector<HPoint> row);

// The surface point at (u, v) from rows that add_surface_row accepted. Only
// the rows that the u span blends are evaluated: the others cannot change
// the result.
Vec3 eval_surface_rows(const SurfaceRows& rows, std::uint64_t pu, std::uint64_t pv, const std::vector<Rational>& ku,
                       const std::vector<Rational>& kv, const Rational& u, const Rational& v);

// The surface of degrees (pu, pv) at (u, v); net[i][j] has u index i. Every
// row is checked as if it were evaluated, so a bad row fails wherever it lies.
// weights, when given, has one row of weights per net row.
Vec3 nurbs_surface_eval(std::uint64_t pu, std::uint64_t pv, const std::vector<std::vector<Coords>>& net,
                        const std::vector<Rational>& ku, const std::vector<Rational>& kv, const Rational& u,
                        const Rational& v, const std::optional<std::vector<std::vector<Rational>>>& weights);

}  // namespace corv
