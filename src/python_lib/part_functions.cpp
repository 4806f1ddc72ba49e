#include "python_lib/part_functions.h"

#include <string>

#include "binder/callables.h"
#include "binder/gil.h"
#include "binder/py_ref.h"
#include "binder/results.h"
#include "core/affine.h"
#include "core/mass.h"
#include "core/panic.h"
#include "local/containment.h"
#include "mesh/components.h"
#include "python_lib/arguments.h"
#include "python_lib/call_guard.h"
#include "python_lib/errors.h"
#include "python_lib/results.h"
#include "python_lib/solid_object.h"

namespace corv::python_lib {
namespace {

using namespace corv::binder;

// Rows of three numbers, then a column of three: the matrix and translation
// of p -> m p + t.
Matrix3 matrix_of(const NumberRows& rows) {
    if (rows.size() != 3) {
        throw Panic(PanicKind::bad_shape,
                    "argument 'matrix' has " + std::to_string(rows.size()) + " rows; it needs 3 (3 x 3 or 3 x 4)");
    }
    Matrix3 m;
    for (std::size_t i = 0; i < 3; ++i) {
        if (rows[i].size() != 3) {
            throw Panic(PanicKind::bad_shape, "argument 'matrix': row " + std::to_string(i) + " has " +
                                                  std::to_string(rows[i].size()) + " entries; it needs 3");
        }
        for (std::size_t j = 0; j < 3; ++j) m[i][j] = rows[i][j];
    }
    return m;
}

constexpr Param transform_params[] = {{"solid", &solid_param}, {"matrix", &number_rows}, {"offset", &number_list}};
PyObject* transform(const Call& c) {
    const Matrix3 m = matrix_of(c.args.get<NumberRows>(1));
    const Numbers& t = c.args.get<Numbers>(2);
    if (t.size() != 3) throw Panic(PanicKind::bad_shape, "argument 'offset' must have 3 entries");
    const Vec3 offset{t[0], t[1], t[2]};
    return new_solid_object(without_gil([&] { return affine_transformed(solid_arg(c, 0), m, offset); }));
}

constexpr Param solid_only[] = {{"solid", &solid_param}};
PyObject* moments_of(const Call& c) {
    Moments m = without_gil([&] { return moments(solid_arg(c, 0)); });
    PyRef volume(fraction_tuple(std::span<const Rational>(&m.volume, 1)));
    PyRef first(volume ? point_result(m.first) : nullptr);
    PyRef second(first ? fraction_tuple(m.second) : nullptr);
    if (!second) return nullptr;
    return PyTuple_Pack(3, volume.get(), first.get(), second.get());
}

PyObject* area_of(const Call& c) {
    return PyFloat_FromDouble(without_gil([&] { return surface_area(solid_arg(c, 0)); }));
}

constexpr Param contains_params[] = {{"solid", &solid_param}, {"point", &number_list}};
PyObject* contains(const Call& c) {
    const Numbers& p = c.args.get<Numbers>(1);
    if (p.size() != 3) {
        throw Panic(PanicKind::bad_shape,
                    "argument 'point' must be (x, y, z), got " + std::to_string(p.size()) + " coordinates");
    }
    const local::Containment where =
        without_gil([&] { return local::containment(solid_arg(c, 0), Vec3{p[0], p[1], p[2]}); });
    return text_result(where == local::Containment::inside     ? "inside"
                       : where == local::Containment::boundary ? "boundary"
                                                               : "outside");
}

PyObject* pieces(const Call& c) {
    std::vector<Solid> parts = without_gil([&] { return components(solid_arg(c, 0)); });
    PyRef list(PyList_New(static_cast<Py_ssize_t>(parts.size())));
    if (!list) return nullptr;
    for (std::size_t i = 0; i < parts.size(); ++i) {
        PyObject* item = new_solid_object(std::move(parts[i]));
        if (item == nullptr) return nullptr;
        PyList_SetItem(list.get(), static_cast<Py_ssize_t>(i), item);  // takes the reference
    }
    return list.release();
}

constexpr Entry functions[] = {
    {"transform", "", transform_params, transform}, {"moments", "", solid_only, moments_of},
    {"surface_area", "", solid_only, area_of},      {"contains", "", contains_params, contains},
    {"components", "", solid_only, pieces},
};

constexpr Surface part_functions{functions, std::size(functions), nullptr, raise_current_exception, run_guarded};

}  // namespace

PyMethodDef* part_function_defs() { return method_table<&part_functions, std::size(functions)>(); }

}  // namespace corv::python_lib
