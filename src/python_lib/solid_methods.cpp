#include "python_lib/solid_methods.h"

#include <optional>
#include <utility>

#include "binder/conversion.h"
#include "binder/gil.h"
#include "binder/results.h"
#include "canonical/logical_faces.h"
#include "canonical/watertight.h"
#include "core/panic.h"
#include "core/transforms.h"
#include "python_lib/arguments.h"
#include "python_lib/call_guard.h"
#include "python_lib/edge_methods.h"
#include "python_lib/engine.h"
#include "python_lib/errors.h"
#include "python_lib/exact_number.h"
#include "python_lib/many_operands.h"
#include "python_lib/mesh_methods.h"
#include "python_lib/results.h"
#include "python_lib/solid_reading.h"
#include "python_lib/storage.h"

namespace corv::python_lib {
namespace {

using namespace corv::binder;

const Rational& num(const Call& c, std::size_t i) { return c.args.get<Rational>(i); }

// Runs the kernel without the interpreter lock and wraps its solid.
template <class Work>
PyObject* solid_result(Work&& work) {
    return new_solid_object(without_gil(std::forward<Work>(work)));
}

constexpr Param translate_params[] = {{"x", &number}, {"y", &number}, {"z", &number}};
PyObject* translate(const Call& c) {
    Vec3 t{num(c, 0), num(c, 1), num(c, 2)};
    return solid_result([&] { return translated(self_solid(c), t); });
}

constexpr Param scale_params[] = {{"fx", &number}, {"fy", &optional_number}, {"fz", &optional_number}};
PyObject* scale(const Call& c) {
    const auto& fy = c.args.get<std::optional<Rational>>(1);
    const auto& fz = c.args.get<std::optional<Rational>>(2);
    if (fy.has_value() != fz.has_value()) {
        PyErr_SetString(PyExc_TypeError, "Solid.scale() takes one factor (uniform) or three (fx, fy, fz), not two");
        return nullptr;
    }
    const Rational& fx = num(c, 0);
    const char* names[3] = {"fx", "fy", "fz"};
    const Rational* factors[3] = {&fx, fy ? &*fy : &fx, fz ? &*fz : &fx};
    for (std::size_t k = 0; k < 3; ++k) {
        if (factors[k]->is_zero()) {
            throw Panic(PanicKind::invalid_argument,
                        std::string("scale: argument '") + names[k] +
                            "' is 0, which would flatten the solid; factors must not be 0");
        }
    }
    return solid_result([&] { return scaled(self_solid(c), fx, *factors[1], *factors[2]); });
}

constexpr Param mirror_params[] = {{"axis", &axis}};
PyObject* mirror(const Call& c) {
    return solid_result([&] { return mirrored(self_solid(c), c.args.get<std::uint64_t>(0)); });
}

constexpr Param rotate_quarter_params[] = {{"axis", &axis}, {"quarters", &optional_quarters, false, "1"}};
PyObject* rotate_quarter(const Call& c) {
    return solid_result(
        [&] { return rotated_quarter(self_solid(c), c.args.get<std::uint64_t>(0), c.args.get<std::int64_t>(1)); });
}

constexpr Param boolean_params[] = {{"other", &solid_param}, {"engine", &engine_param, true}};
template <BooleanOp Op>
PyObject* boolean(const Call& c) {
    Engine engine = c.args.get<Engine>(1);
    return solid_result([&] { return run_boolean(engine, Op, self_solid(c), solid_arg(c, 0)); });
}

PyObject* canonical(const Call& c) {
    return text_result(without_gil([&] { return canonical_text(self_solid(c)); }));
}

PyObject* volume(const Call& c) {
    return fraction_object(without_gil([&] { return python_lib::volume(self_solid(c)); }));
}

PyObject* bbox(const Call& c) {
    return point_pair_result(without_gil([&] { return bounds(self_solid(c)); }));
}

PyObject* face_count(const Call& c) {
    return count_result(without_gil([&] { return logical_faces(self_solid(c)); }));
}

PyObject* polygon_count(const Call& c) { return count_result(python_lib::polygon_count(self_solid(c))); }

PyObject* is_watertight(const Call& c) {
    return bool_result(without_gil([&] { return watertight_ok(self_solid(c)); }));
}

PyObject* repr(const Call& c) {
    return text_result(without_gil([&] { return summary(self_solid(c)); }));
}

// No texts: the package's Solid documents each method.
constexpr Entry methods[] = {
    {"translate", "", translate_params, translate},
    {"scale", "", scale_params, scale},
    {"mirror", "", mirror_params, mirror},
    {"rotate_quarter", "", rotate_quarter_params, rotate_quarter},
    {"union", "", boolean_params, boolean<BooleanOp::union_>},
    {"cut", "", boolean_params, boolean<BooleanOp::cut>},
    {"intersect", "", boolean_params, boolean<BooleanOp::intersect>},
    {"cut_all", "", cut_all_params, solid_cut_all},
    {"same_shape", "", same_shape_params, solid_same_shape},
    {"chamfer", "", chamfer_params, solid_chamfer},
    {"edges", "", {}, solid_edges_method},
    {"canonical", "", {}, canonical},
    {"to_bytes", "", {}, solid_to_bytes},
    {"save", "", path_params, solid_save},
    {"mesh_parts", "", {}, solid_mesh_parts},
};

constexpr Entry properties[] = {
    {"volume", "", {}, volume},
    {"bbox", "", {}, bbox},
    {"face_count", "", {}, face_count},
    {"polygon_count", "", {}, polygon_count},
    {"is_watertight", "", {}, is_watertight},
};

constexpr Entry operators[] = {
    {"__repr__", "", {}, repr},
};

constexpr Surface method_surface{methods, std::size(methods), &solid_receiver, raise_current_exception, run_guarded};
constexpr Surface property_surface{properties, std::size(properties), &solid_receiver, raise_current_exception,
                                   run_guarded};
constexpr Surface operator_surface{operators, std::size(operators), &solid_receiver, raise_current_exception,
                                   run_guarded};

}  // namespace

SolidTables solid_tables() {
    return {
        method_table<&method_surface, std::size(methods)>(),
        property_table<&property_surface, std::size(properties)>(),
        unary_slot<&operator_surface, 0>,
    };
}

}  // namespace corv::python_lib
