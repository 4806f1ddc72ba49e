#include "python/functions.h"

#include "entry/box_entry.h"
#include "entry/nurbs_entry.h"
#include "entry/solid_entry.h"
#include "entry/ssi_entry.h"
#include "python/callables.h"
#include "python/results.h"

namespace corv::py {
namespace {

constexpr Param make_box_params[] = {
    {"dx", Kind::Text}, {"dy", Kind::Text}, {"dz", Kind::Text}, {"prefix", Kind::Text}};
PyObject* make_box(const Call& c) {
    const Arguments& a = c.args;
    return new_solid_object(entry::make_box(a.text(0), a.text(1), a.text(2), a.text(3)));
}

constexpr Param make_prism_params[] = {{"loop_flat", Kind::TextList}, {"h", Kind::Text}, {"prefix", Kind::Text}};
PyObject* make_prism(const Call& c) {
    const Arguments& a = c.args;
    return new_solid_object(entry::make_prism(a.texts(0), a.text(1), a.text(2)));
}

constexpr Param make_prismatoid_params[] = {{"bottom", Kind::TextList},
                                            {"z0", Kind::Text},
                                            {"top", Kind::TextList},
                                            {"z1", Kind::Text},
                                            {"prefix", Kind::Text}};
PyObject* make_prismatoid(const Call& c) {
    const Arguments& a = c.args;
    return new_solid_object(entry::make_prismatoid(a.texts(0), a.text(1), a.texts(2), a.text(3), a.text(4)));
}

constexpr Param box_boolean_params[] = {{"dx", Kind::Text}, {"dy", Kind::Text}, {"dz", Kind::Text},
                                       {"ex", Kind::Text}, {"ey", Kind::Text}, {"ez", Kind::Text},
                                       {"tx", Kind::Text}, {"ty", Kind::Text}, {"tz", Kind::Text},
                                       {"op", Kind::Text}};
PyObject* box_boolean(const Call& c) {
    const Arguments& a = c.args;
    return text_pair_result(entry::box_boolean(a.text(0), a.text(1), a.text(2), a.text(3), a.text(4), a.text(5),
                                              a.text(6), a.text(7), a.text(8), a.text(9)));
}

constexpr Param box_form_params[] = {{"dx", Kind::Text}, {"dy", Kind::Text}, {"dz", Kind::Text}};
PyObject* box_form(const Call& c) {
    const Arguments& a = c.args;
    return text_pair_result(entry::box_form(a.text(0), a.text(1), a.text(2)));
}

constexpr Param nurbs_curve_eval_params[] = {{"degree", Kind::Unsigned},
                                             {"cps", Kind::TextRows},
                                             {"knots", Kind::TextList},
                                             {"t", Kind::Text},
                                             {"weights", Kind::OptionalTextList}};
PyObject* nurbs_curve_eval(const Call& c) {
    const Arguments& a = c.args;
    return text_list_result(
        entry::nurbs_curve_eval(a.unsigned_int(0), a.rows(1), a.texts(2), a.text(3), a.optional_texts(4)));
}

constexpr Param nurbs_surface_eval_params[] = {
    {"pu", Kind::Unsigned}, {"pv", Kind::Unsigned}, {"net", Kind::TextNet},
    {"ku", Kind::TextList}, {"kv", Kind::TextList}, {"u", Kind::Text},
    {"v", Kind::Text},      {"weights", Kind::OptionalTextRows}};
PyObject* nurbs_surface_eval(const Call& c) {
    const Arguments& a = c.args;
    return text_list_result(entry::nurbs_surface_eval(a.unsigned_int(0), a.unsigned_int(1), a.net(2), a.texts(3),
                                                     a.texts(4), a.text(5), a.text(6), a.optional_rows(7)));
}

constexpr Param ssi_pairs_params[] = {{"net_a", Kind::TextNet},
                                      {"net_b", Kind::TextNet},
                                      {"depth", Kind::Unsigned},
                                      {"a_box", Kind::OptionalTextList},
                                      {"b_box", Kind::OptionalTextList}};
PyObject* ssi_pairs(const Call& c) {
    const Arguments& a = c.args;
    return text_rows_result(
        entry::ssi_pairs(a.net(0), a.net(1), a.unsigned_int(2), a.optional_texts(3), a.optional_texts(4)));
}

constexpr Entry functions[] = {
    {"make_box", "make_box(dx, dy, dz, prefix)\n--\n\n", make_box_params, make_box},
    {"make_prism", "make_prism(loop_flat, h, prefix)\n--\n\n", make_prism_params, make_prism},
    {"make_prismatoid", "make_prismatoid(bottom, z0, top, z1, prefix)\n--\n\n", make_prismatoid_params,
     make_prismatoid},
    {"box_boolean", "box_boolean(dx, dy, dz, ex, ey, ez, tx, ty, tz, op)\n--\n\n", box_boolean_params, box_boolean},
    {"box_form", "box_form(dx, dy, dz)\n--\n\n", box_form_params, box_form},
    {"nurbs_curve_eval", "nurbs_curve_eval(degree, cps, knots, t, weights=None)\n--\n\n", nurbs_curve_eval_params,
     nurbs_curve_eval},
    {"nurbs_surface_eval", "nurbs_surface_eval(pu, pv, net, ku, kv, u, v, weights=None)\n--\n\n",
     nurbs_surface_eval_params, nurbs_surface_eval},
    {"ssi_pairs",
     "ssi_pairs(net_a, net_b, depth, a_box=None, b_box=None)\n--\n\n"
     "Subdivision detection: returns surviving leaf-pair parameter boxes\n"
     "(au0,au1,av0,av1,bu0,bu1,bv0,bv1) as exact rational strings. Empty\n"
     "result = certified non-intersection. Clustering/refinement stay in\n"
     "Python (they are not the hot loop).",
     ssi_pairs_params, ssi_pairs},
};

}  // namespace

PyMethodDef* module_function_defs() {
    static auto defs = method_defs<functions, false>(std::make_index_sequence<std::size(functions)>());
    return defs.data();
}

}  // namespace corv::py
