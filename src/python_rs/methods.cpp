#include "python_rs/methods.h"

#include "binder/callables.h"
#include "binder/conversion.h"
#include "binder/results.h"
#include "canonical/logical_faces.h"
#include "canonical/watertight.h"
#include "core/measures.h"
#include "core/transforms.h"
#include "python_rs/boundary.h"
#include "python_rs/solid_type.h"
#include "rs_entry/solid_entry.h"

namespace corv::python_rs {
namespace {

using namespace corv::binder;

const std::string& str(const Call& c, std::size_t i) { return c.args.get<std::string>(i); }

constexpr Param translate_params[] = {{"x", &text}, {"y", &text}, {"z", &text}};
PyObject* translate(const Call& c) {
    return new_solid_object(rs_entry::translate(self_solid(c), str(c, 0), str(c, 1), str(c, 2)));
}

constexpr Param scale_params[] = {{"fx", &text}, {"fy", &text}, {"fz", &text}};
PyObject* scale(const Call& c) {
    return new_solid_object(rs_entry::scale(self_solid(c), str(c, 0), str(c, 1), str(c, 2)));
}

constexpr Param mirror_params[] = {{"axis", &unsigned_integer}};
PyObject* mirror(const Call& c) { return new_solid_object(mirrored(self_solid(c), c.args.get<std::uint64_t>(0))); }

constexpr Param rotate_quarter_params[] = {{"axis", &unsigned_integer}, {"quarters", &signed_integer}};
PyObject* rotate_quarter(const Call& c) {
    return new_solid_object(rotated_quarter(self_solid(c), c.args.get<std::uint64_t>(0), c.args.get<std::int64_t>(1)));
}

constexpr Param boolean_params[] = {{"op", &text}, {"other", &solid_param}};
PyObject* boolean(const Call& c) {
    const HeldSolid& a = self_held(c);
    const HeldSolid& b = held_arg(c, 1);
    return new_solid_object(rs_entry::boolean(str(c, 0), a.solid, a.tree_shape.get(), b.solid, b.tree_shape.get()));
}

constexpr Param chamfer_params[] = {{"dist", &text}};
PyObject* chamfer(const Call& c) { return new_solid_object(rs_entry::chamfer(self_solid(c), str(c, 0))); }

PyObject* volume(const Call& c) { return float_result((volume6(self_solid(c).polygons) / Rational(6)).to_double()); }

PyObject* volume6_str(const Call& c) { return text_result(volume6(self_solid(c).polygons).text()); }

PyObject* canonical(const Call& c) { return text_result(corv::canonical(self_solid(c).polygons)); }

PyObject* watertight_ok(const Call& c) { return bool_result(corv::watertight_ok(self_solid(c))); }

PyObject* logical_faces(const Call& c) { return count_result(corv::logical_faces(self_solid(c))); }

PyObject* bbox(const Call& c) {
    auto [lo, hi] = corv::bbox(self_solid(c).polygons);
    return float_list_result(
        {lo.x.to_double(), lo.y.to_double(), lo.z.to_double(), hi.x.to_double(), hi.y.to_double(), hi.z.to_double()});
}

constexpr Entry methods[] = {
    {"translate", "", translate_params, translate},
    {"scale", "", scale_params, scale},
    {"mirror", "", mirror_params, mirror},
    {"rotate_quarter", "", rotate_quarter_params, rotate_quarter},
    {"boolean", "", boolean_params, boolean},
    {"chamfer", "", chamfer_params, chamfer},
    {"volume", "", {}, volume},
    {"volume6_str", "", {}, volume6_str},
    {"canonical", "", {}, canonical},
    {"watertight_ok", "", {}, watertight_ok},
    {"logical_faces", "", {}, logical_faces},
    {"bbox", "", {}, bbox},
};

constexpr Surface solid_methods{methods, std::size(methods), &solid_receiver, raise_current_exception, run_guarded};

}  // namespace

PyMethodDef* solid_method_defs() { return method_table<&solid_methods, std::size(methods)>(); }

}  // namespace corv::python_rs
