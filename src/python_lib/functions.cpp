#include "python_lib/functions.h"

#include <optional>
#include <string>
#include <utility>

#include "binder/conversion.h"
#include "binder/gil.h"
#include "binder/py_ref.h"
#include "builders/hull.h"
#include "builders/outline_check.h"
#include "builders/prism.h"
#include "core/panic.h"
#include "mesh/from_triangles.h"
#include "mesh/mesh_of.h"
#include "nurbs/nurbs_checks.h"
#include "nurbs/nurbs_eval.h"
#include "python_lib/arguments.h"
#include "python_lib/call_guard.h"
#include "python_lib/errors.h"
#include "python_lib/many_operands.h"
#include "python_lib/results.h"
#include "python_lib/solid_object.h"
#include "python_lib/storage.h"
#include "ssi/ssi_pairs.h"

namespace corv::python_lib {
namespace {

using namespace corv::binder;

const Rational& num(const Call& c, std::size_t i) { return c.args.get<Rational>(i); }
std::string label(const Call& c, std::size_t i, const char* fallback) {
    return c.args.get<std::optional<std::string>>(i).value_or(fallback);
}
const std::vector<Point2>& points(const Call& c, std::size_t i) { return c.args.get<std::vector<Point2>>(i); }

template <class Work>
PyObject* solid_result(Work&& work) {
    return new_solid_object(without_gil(std::forward<Work>(work)));
}

constexpr Param box_params[] = {
    {"dx", &number}, {"dy", &number}, {"dz", &number}, {"label", &optional_text, true, "'box'"}};
PyObject* box(const Call& c) {
    return new_solid_object(Solid::cube(positive(num(c, 0), "box", "dx"), positive(num(c, 1), "box", "dy"),
                                        positive(num(c, 2), "box", "dz"), label(c, 3, "box")));
}

// whole_caps: a strictly convex outline gets each cap as one polygon (the
// round shapes); without it the caps are triangulated as corvanthium_rs's
// prisms are, so the BSP engine gives the same results on them.
constexpr Param prism_params[] = {{"outline", &outline},
                                  {"height", &number},
                                  {"label", &optional_text, true, "'prism'"},
                                  {"whole_caps", &flag, true, "False"}};
PyObject* prism(const Call& c) {
    const Rational& height = positive(num(c, 1), "prism", "height");
    return solid_result([&] {
        check_outline(points(c, 0), "prism: argument 'outline'");
        if (c.args.get<bool>(3)) return make_prism_whole_caps(points(c, 0), height, label(c, 2, "prism"));
        return make_prism(points(c, 0), height, label(c, 2, "prism"));
    });
}

// Point i of the top is joined to point i of the bottom: outlines that turn
// against each other (a top given half a turn round) give sides that pass
// through each other, which is no solid.
void refuse_twisted(const Solid& solid) {
    try {
        TriMesh mesh = mesh_of(solid);
        std::vector<std::array<std::uint64_t, 3>> faces;
        for (const auto& t : mesh.triangles) faces.push_back({t[0], t[1], t[2]});
        solid_from_triangles(std::move(mesh.vertices), faces, "check");
    } catch (const Panic&) {
        throw Panic(PanicKind::invalid_argument,
                    "prismatoid: the sides joining point i of 'bottom' to point i of 'top' pass through each "
                    "other, so they bound no solid; start the top's points where the bottom's start and run "
                    "them the same way round");
    }
}

constexpr Param prismatoid_params[] = {{"bottom", &outline},
                                       {"z0", &number},
                                       {"top", &outline},
                                       {"z1", &number},
                                       {"label", &optional_text, true, "'prismatoid'"}};
PyObject* prismatoid(const Call& c) {
    const std::vector<Point2>& bottom = points(c, 0);
    const std::vector<Point2>& top = points(c, 2);
    if (bottom.size() != top.size()) {
        throw Panic(PanicKind::invalid_argument,
                    "prismatoid: arguments 'bottom' and 'top' must have as many points, got " +
                        std::to_string(bottom.size()) + " and " + std::to_string(top.size()) +
                        "; point i of the top is joined to point i of the bottom");
    }
    if (num(c, 3) <= num(c, 1)) {
        throw Panic(PanicKind::invalid_argument, "prismatoid: argument 'z1' must be above 'z0', got z0 = " +
                                                     num(c, 1).plain_text() + " and z1 = " + num(c, 3).plain_text());
    }
    return solid_result([&] {
        // Either end may narrow to a ridge or an apex (a wedge, a pyramid), not both.
        const bool ridge_below = on_one_line(bottom), ridge_above = on_one_line(top);
        if (ridge_below && ridge_above) {
            throw Panic(PanicKind::invalid_argument,
                        "prismatoid: arguments 'bottom' and 'top' both lie on a line or in a point; "
                        "one of them must enclose an area");
        }
        if (!ridge_below) check_outline(bottom, "prismatoid: argument 'bottom'");
        if (!ridge_above) check_outline(top, "prismatoid: argument 'top'");
        Solid solid = make_prismatoid(bottom, num(c, 1), top, num(c, 3), label(c, 4, "prismatoid"));
        refuse_twisted(solid);
        return solid;
    });
}

constexpr Param hull_params[] = {{"points", &number_rows}, {"label", &optional_text, true, "'hull'"}};
PyObject* hull(const Call& c) {
    const NumberRows& rows = c.args.get<NumberRows>(0);
    std::vector<Vec3> points;
    points.reserve(rows.size());
    for (std::size_t i = 0; i < rows.size(); ++i) {
        if (rows[i].size() != 3) {
            throw Panic(PanicKind::bad_shape, "hull: argument 'points': point " + std::to_string(i) + " has " +
                                                  std::to_string(rows[i].size()) + " coordinates, not 3");
        }
        points.push_back(Vec3{rows[i][0], rows[i][1], rows[i][2]});
    }
    return solid_result([&] { return convex_hull(points, label(c, 1, "hull")); });
}

constexpr Param curve_params[] = {{"degree", &count},
                                  {"cps", &number_rows},
                                  {"knots", &number_list},
                                  {"t", &number},
                                  {"weights", &optional_number_list}};
// Control points of one to three coordinates, as points of space (the
// missing coordinates 0).
NumberRows in_space(const NumberRows& points, const char* call, const std::string& argument) {
    NumberRows out = points;
    for (std::size_t i = 0; i < out.size(); ++i) {
        if (out[i].empty() || out[i].size() > 3) {
            throw Panic(PanicKind::invalid_argument, std::string(call) + ": argument '" + argument +
                                                         "': control point " + std::to_string(i) + " has " +
                                                         std::to_string(out[i].size()) + " coordinates, not 1 to 3");
        }
        out[i].resize(3);
    }
    return out;
}

PyObject* nurbs_curve_point(const Call& c) {
    constexpr const char* call = "nurbs_curve_point";
    const std::uint64_t degree = c.args.get<std::uint64_t>(0);
    const NumberRows cps = in_space(c.args.get<NumberRows>(1), call, "cps");
    const Numbers& knots = c.args.get<Numbers>(2);
    const std::optional<Numbers>& weights = c.args.get<std::optional<Numbers>>(4);
    Vec3 p = without_gil([&] {
        check_knots({call, "cps", "knots", "t"}, degree, cps.size(), knots, num(c, 3));
        if (weights) check_weights(call, "weights", cps.size(), *weights);
        return nurbs_curve_eval(degree, cps, knots, num(c, 3), weights);
    });
    return point_result(p);
}

constexpr Param surface_params[] = {
    {"pu", &count},       {"pv", &count}, {"net", &number_net}, {"ku", &number_list},
    {"kv", &number_list}, {"u", &number}, {"v", &number},       {"weights", &optional_number_rows}};
PyObject* nurbs_surface_point(const Call& c) {
    constexpr const char* call = "nurbs_surface_point";
    const std::uint64_t pu = c.args.get<std::uint64_t>(0), pv = c.args.get<std::uint64_t>(1);
    NumberNet net;
    for (const NumberRows& row : c.args.get<NumberNet>(2)) {
        net.push_back(in_space(row, call, "net[" + std::to_string(net.size()) + "]"));
        if (net.back().size() != net.front().size()) {
            throw Panic(PanicKind::invalid_argument, std::string(call) + ": argument 'net': row " +
                                                         std::to_string(net.size() - 1) + " has " +
                                                         std::to_string(net.back().size()) + " points, row 0 has " +
                                                         std::to_string(net.front().size()) + "; rows must be alike");
        }
    }
    const Numbers& ku = c.args.get<Numbers>(3);
    const Numbers& kv = c.args.get<Numbers>(4);
    const std::optional<NumberRows>& weights = c.args.get<std::optional<NumberRows>>(7);
    Vec3 p = without_gil([&] {
        check_knots({call, "net", "ku", "u"}, pu, net.size(), ku, num(c, 5));
        check_knots({call, "net[0]", "kv", "v"}, pv, net.empty() ? 0 : net[0].size(), kv, num(c, 6));
        if (weights) {
            if (weights->size() != net.size()) {
                throw Panic(PanicKind::invalid_argument,
                            std::string(call) + ": argument 'weights' must have one row per net row, " +
                                std::to_string(net.size()) + ", got " + std::to_string(weights->size()));
            }
            for (std::size_t i = 0; i < net.size(); ++i) {
                check_weights(call, "weights[" + std::to_string(i) + "]", net[i].size(), (*weights)[i]);
            }
        }
        return nurbs_surface_eval(pu, pv, net, ku, kv, num(c, 5), num(c, 6), weights);
    });
    return point_result(p);
}

// A parameter rectangle (u0, u1, v0, v1); the unit square when omitted.
ParamRect rect(const std::optional<Numbers>& box, const char* name) {
    if (!box) return ParamRect{};
    if (box->size() != 4) {
        throw Panic(PanicKind::bad_shape, std::string("argument '") + name + "': a box is (u0, u1, v0, v1), got " +
                                              std::to_string(box->size()) + " entries");
    }
    return ParamRect{(*box)[0], (*box)[1], (*box)[2], (*box)[3]};
}

constexpr Param ssi_params[] = {{"net_a", &number_net},
                                {"net_b", &number_net},
                                {"depth", &count},
                                {"a_box", &optional_number_list},
                                {"b_box", &optional_number_list}};
PyObject* ssi_pairs(const Call& c) {
    ParamRect a = rect(c.args.get<std::optional<Numbers>>(3), "a_box");
    ParamRect b = rect(c.args.get<std::optional<Numbers>>(4), "b_box");
    std::vector<PairBoxes> pairs = without_gil([&] {
        return corv::ssi_pairs(c.args.get<NumberNet>(0), c.args.get<NumberNet>(1), c.args.get<std::uint64_t>(2),
                               std::move(a), std::move(b));
    });
    PyRef list(PyList_New(static_cast<Py_ssize_t>(pairs.size())));
    if (!list) return nullptr;
    for (std::size_t i = 0; i < pairs.size(); ++i) {
        PyObject* row = fraction_tuple(pairs[i]);
        if (row == nullptr) return nullptr;
        PyList_SetItem(list.get(), static_cast<Py_ssize_t>(i), row);  // takes the reference
    }
    return list.release();
}

#define RAISES                                                                                             \
    " Numbers are exact: int, Fraction, finite Decimal or a text such as \"1/3\" or \"0.25\" (a float or " \
    "bool raises TypeError). Raises TypeError for a wrong type and KernelError (a ValueError) for a "      \
    "malformed number, a zero denominator or input the kernel refuses."

constexpr Entry functions[] = {
    {"box", "", box_params, box},
    {"prism", "", prism_params, prism},
    {"prismatoid", "", prismatoid_params, prismatoid},
    {"nurbs_curve_point",
     "The exact point (x, y, z) of Fractions of the NURBS curve at t; cps are control points of "
     "one to three coordinates (the missing ones 0), knots has len(cps) + degree + 1 entries, "
     "never decreasing, t lies in the domain from knots[degree] to knots[len(cps)], and "
     "weights (one per control point, positive) default to 1." RAISES,
     curve_params, nurbs_curve_point},
    {"nurbs_surface_point",
     "The exact point (x, y, z) of Fractions of the NURBS surface of degrees (pu, pv) at (u, v); "
     "net[i][j] has u index i (rows alike, points of one to three coordinates), ku and kv and "
     "(u, v) as for nurbs_curve_point in each direction, weights (one row per net row, "
     "positive) default to 1." RAISES,
     surface_params, nurbs_surface_point},
    {"ssi_pairs",
     "The parameter boxes (au0, au1, av0, av1, bu0, bu1, bv0, bv1), as Fractions, of the leaf "
     "pairs of two rational Bezier patches whose exact control-point boxes still meet after "
     "depth rounds of subdivision; an empty list certifies that the patches do not meet. "
     "a_box and b_box are (u0, u1, v0, v1), the unit square by default." RAISES,
     ssi_params, ssi_pairs},
    {"union_all", "", union_all_params, union_all},
    {"hull", "", hull_params, hull},
    {"load", "", path_params, solid_load},
    {"decode", "", data_params, solid_from_bytes},
};

constexpr Surface module_functions{functions, std::size(functions), nullptr, raise_current_exception, run_guarded};

}  // namespace

PyMethodDef* module_function_defs() { return method_table<&module_functions, std::size(functions)>(); }

}  // namespace corv::python_lib
