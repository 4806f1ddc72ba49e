#include "python/methods.h"

#include "core/measures.h"
#include "core/transforms.h"
#include "entry/solid_entry.h"
#include "python/callables.h"
#include "python/results.h"
#include "topology/logical_faces.h"
#include "topology/watertight.h"

namespace corv::py {
namespace {

constexpr Param translate_params[] = {{"x", Kind::Text}, {"y", Kind::Text}, {"z", Kind::Text}};
PyObject* translate(const Call& c) {
    const Arguments& a = c.args;
    return new_solid_object(entry::translate(*c.self, a.text(0), a.text(1), a.text(2)));
}

constexpr Param scale_params[] = {{"fx", Kind::Text}, {"fy", Kind::Text}, {"fz", Kind::Text}};
PyObject* scale(const Call& c) {
    const Arguments& a = c.args;
    return new_solid_object(entry::scale(*c.self, a.text(0), a.text(1), a.text(2)));
}

constexpr Param mirror_params[] = {{"axis", Kind::Unsigned}};
PyObject* mirror(const Call& c) { return new_solid_object(mirrored(*c.self, c.args.unsigned_int(0))); }

constexpr Param rotate_quarter_params[] = {{"axis", Kind::Unsigned}, {"quarters", Kind::Signed}};
PyObject* rotate_quarter(const Call& c) {
    return new_solid_object(rotated_quarter(*c.self, c.args.unsigned_int(0), c.args.signed_int(1)));
}

constexpr Param boolean_params[] = {{"op", Kind::Text}, {"other", Kind::Solid}};
PyObject* boolean(const Call& c) { return new_solid_object(entry::boolean(c.args.text(0), *c.self, c.args.solid(1))); }

constexpr Param chamfer_params[] = {{"dist", Kind::Text}};
PyObject* chamfer(const Call& c) { return new_solid_object(entry::chamfer(*c.self, c.args.text(0))); }

PyObject* volume(const Call& c) { return float_result((volume6(c.self->polygons) / Rational(6)).to_double()); }

PyObject* volume6_str(const Call& c) { return text_result(volume6(c.self->polygons).text()); }

PyObject* canonical(const Call& c) { return text_result(corv::canonical(c.self->polygons)); }

PyObject* watertight_ok(const Call& c) { return bool_result(corv::watertight_ok(*c.self)); }

PyObject* logical_faces(const Call& c) { return count_result(corv::logical_faces(*c.self)); }

PyObject* bbox(const Call& c) {
    auto [lo, hi] = corv::bbox(c.self->polygons);
    return float_list_result({lo.x.to_double(), lo.y.to_double(), lo.z.to_double(), hi.x.to_double(),
                              hi.y.to_double(), hi.z.to_double()});
}

constexpr Entry methods[] = {
    {"translate", "translate($self, x, y, z)\n--\n\n", translate_params, translate},
    {"scale", "scale($self, fx, fy, fz)\n--\n\n", scale_params, scale},
    {"mirror", "mirror($self, axis)\n--\n\n", mirror_params, mirror},
    {"rotate_quarter", "rotate_quarter($self, axis, quarters)\n--\n\n", rotate_quarter_params, rotate_quarter},
    {"boolean", "boolean($self, op, other)\n--\n\n", boolean_params, boolean},
    {"chamfer", "chamfer($self, dist)\n--\n\n", chamfer_params, chamfer},
    {"volume", "volume($self)\n--\n\n", {}, volume},
    {"volume6_str", "volume6_str($self)\n--\n\n", {}, volume6_str},
    {"canonical", "canonical($self)\n--\n\n", {}, canonical},
    {"watertight_ok", "watertight_ok($self)\n--\n\n", {}, watertight_ok},
    {"logical_faces", "logical_faces($self)\n--\n\n", {}, logical_faces},
    {"bbox", "bbox($self)\n--\n\n", {}, bbox},
};

}  // namespace

PyMethodDef* solid_method_defs() {
    static auto defs = method_defs<methods, true>(std::make_index_sequence<std::size(methods)>());
    return defs.data();
}

}  // namespace corv::py
