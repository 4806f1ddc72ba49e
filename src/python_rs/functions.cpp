#include "python_rs/functions.h"

#include <optional>

#include "binder/callables.h"
#include "binder/conversion.h"
#include "binder/results.h"
#include "python_rs/boundary.h"
#include "python_rs/solid_type.h"
#include "rs_entry/box_entry.h"
#include "rs_entry/nurbs_entry.h"
#include "rs_entry/solid_entry.h"
#include "rs_entry/ssi_entry.h"

namespace corv::python_rs {
namespace {

using namespace corv::binder;

const std::string& str(const Call& c, std::size_t i) { return c.args.get<std::string>(i); }
const TextList& list(const Call& c, std::size_t i) { return c.args.get<TextList>(i); }
std::uint64_t count(const Call& c, std::size_t i) { return c.args.get<std::uint64_t>(i); }

constexpr Param make_box_params[] = {{"dx", &text}, {"dy", &text}, {"dz", &text}, {"prefix", &text}};
PyObject* make_box(const Call& c) {
    return new_solid_object(rs_entry::make_box(str(c, 0), str(c, 1), str(c, 2), str(c, 3)));
}

constexpr Param make_prism_params[] = {{"loop_flat", &text_list}, {"h", &text}, {"prefix", &text}};
PyObject* make_prism(const Call& c) { return new_solid_object(rs_entry::make_prism(list(c, 0), str(c, 1), str(c, 2))); }

constexpr Param make_prismatoid_params[] = {
    {"bottom", &text_list}, {"z0", &text}, {"top", &text_list}, {"z1", &text}, {"prefix", &text}};
PyObject* make_prismatoid(const Call& c) {
    return new_solid_object(rs_entry::make_prismatoid(list(c, 0), str(c, 1), list(c, 2), str(c, 3), str(c, 4)));
}

constexpr Param box_boolean_params[] = {{"dx", &text}, {"dy", &text}, {"dz", &text}, {"ex", &text}, {"ey", &text},
                                        {"ez", &text}, {"tx", &text}, {"ty", &text}, {"tz", &text}, {"op", &text}};
PyObject* box_boolean(const Call& c) {
    return text_pair_result(rs_entry::box_boolean(str(c, 0), str(c, 1), str(c, 2), str(c, 3), str(c, 4), str(c, 5),
                                                  str(c, 6), str(c, 7), str(c, 8), str(c, 9)));
}

constexpr Param box_form_params[] = {{"dx", &text}, {"dy", &text}, {"dz", &text}};
PyObject* box_form(const Call& c) { return text_pair_result(rs_entry::box_form(str(c, 0), str(c, 1), str(c, 2))); }

constexpr Param nurbs_curve_eval_params[] = {{"degree", &unsigned_integer},
                                             {"cps", &text_rows},
                                             {"knots", &text_list},
                                             {"t", &text},
                                             {"weights", &optional_text_list}};
PyObject* nurbs_curve_eval(const Call& c) {
    return text_list_result(rs_entry::nurbs_curve_eval(count(c, 0), c.args.get<TextRows>(1), list(c, 2), str(c, 3),
                                                       c.args.get<std::optional<TextList>>(4)));
}

constexpr Param nurbs_surface_eval_params[] = {{"pu", &unsigned_integer},
                                               {"pv", &unsigned_integer},
                                               {"net", &text_net},
                                               {"ku", &text_list},
                                               {"kv", &text_list},
                                               {"u", &text},
                                               {"v", &text},
                                               {"weights", &optional_text_rows}};
PyObject* nurbs_surface_eval(const Call& c) {
    return text_list_result(rs_entry::nurbs_surface_eval(count(c, 0), count(c, 1), c.args.get<TextNet>(2), list(c, 3),
                                                         list(c, 4), str(c, 5), str(c, 6),
                                                         c.args.get<std::optional<TextRows>>(7)));
}

constexpr Param ssi_pairs_params[] = {{"net_a", &text_net},
                                      {"net_b", &text_net},
                                      {"depth", &unsigned_integer},
                                      {"a_box", &optional_text_list},
                                      {"b_box", &optional_text_list}};
PyObject* ssi_pairs(const Call& c) {
    return text_rows_result(rs_entry::ssi_pairs(c.args.get<TextNet>(0), c.args.get<TextNet>(1), count(c, 2),
                                                c.args.get<std::optional<TextList>>(3),
                                                c.args.get<std::optional<TextList>>(4)));
}

constexpr Entry functions[] = {
    {"make_box", "", make_box_params, make_box},
    {"make_prism", "", make_prism_params, make_prism},
    {"make_prismatoid", "", make_prismatoid_params, make_prismatoid},
    {"box_boolean", "", box_boolean_params, box_boolean},
    {"box_form", "", box_form_params, box_form},
    {"nurbs_curve_eval", "", nurbs_curve_eval_params, nurbs_curve_eval},
    {"nurbs_surface_eval", "", nurbs_surface_eval_params, nurbs_surface_eval},
    {"ssi_pairs",
     "Subdivision detection: returns surviving leaf-pair parameter boxes\n"
     "(au0,au1,av0,av1,bu0,bu1,bv0,bv1) as exact rational strings. Empty\n"
     "result = certified non-intersection. Clustering/refinement stay in\n"
     "Python (they are not the hot loop).",
     ssi_pairs_params, ssi_pairs},
};

constexpr Surface module_functions{functions, std::size(functions), nullptr, raise_current_exception, run_guarded};

}  // namespace

PyMethodDef* module_function_defs() { return method_table<&module_functions, std::size(functions)>(); }

}  // namespace corv::python_rs
