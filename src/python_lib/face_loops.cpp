#include "python_lib/face_loops.h"

#include <string>

#include "binder/callables.h"
#include "binder/gil.h"
#include "binder/py_ref.h"
#include "mesh/face_loops.h"
#include "python_lib/call_guard.h"
#include "python_lib/errors.h"
#include "python_lib/exact_number.h"
#include "python_lib/solid_object.h"

namespace corv::python_lib {
namespace {

using namespace corv::binder;

// A tuple of n new references made by item(i); null when one fails.
template <typename Item>
PyObject* tuple_of(std::size_t n, Item item) {
    PyRef tuple(PyTuple_New(static_cast<Py_ssize_t>(n)));
    if (!tuple) return nullptr;
    for (std::size_t i = 0; i < n; ++i) {
        PyObject* value = item(i);
        if (value == nullptr) return nullptr;
        PyTuple_SetItem(tuple.get(), static_cast<Py_ssize_t>(i), value);  // takes the reference
    }
    return tuple.release();
}

// (x, y, z) as the correctly rounded doubles.
PyObject* float_point(const Vec3& p) {
    return Py_BuildValue("(ddd)", p.x.to_double(), p.y.to_double(), p.z.to_double());
}

PyObject* integer_point(const Vec3& p) {
    return tuple_of(3, [&](std::size_t k) { return integer_object(p[k].numerator()); });
}

PyObject* index_tuple(const std::vector<std::uint32_t>& indices) {
    return tuple_of(indices.size(), [&](std::size_t i) { return PyLong_FromUnsignedLong(indices[i]); });
}

// (normal, label, shell, loops) of one face.
PyObject* face_object(const PlanarFace& face, const std::vector<PyRef>& labels) {
    PyRef normal(integer_point(face.normal));
    PyRef shell(normal ? PyLong_FromUnsignedLong(face.shell) : nullptr);
    PyRef loops(shell ? tuple_of(face.loops.size(), [&](std::size_t i) { return index_tuple(face.loops[i]); })
                      : nullptr);
    if (!loops) return nullptr;
    return PyTuple_Pack(4, normal.get(), labels.at(face.label).get(), shell.get(), loops.get());
}

constexpr Param solid_only[] = {{"solid", &solid_param}};
PyObject* face_loops_of(const Call& c) {
    const FaceLoops f = without_gil([&] { return face_loops(solid_arg(c, 0)); });
    std::vector<PyRef> labels;
    for (const std::string& name : f.label_names) {
        labels.emplace_back(PyUnicode_DecodeUTF8(name.data(), static_cast<Py_ssize_t>(name.size()), "replace"));
        if (!labels.back()) return nullptr;
    }
    PyRef points(tuple_of(f.points.size(), [&](std::size_t i) { return float_point(f.points[i]); }));
    PyRef faces(points ? tuple_of(f.faces.size(), [&](std::size_t i) { return face_object(f.faces[i], labels); })
                       : nullptr);
    PyRef outer(faces ? index_tuple(f.outer_of) : nullptr);
    if (!outer) return nullptr;
    return PyTuple_Pack(3, points.get(), faces.get(), outer.get());
}

constexpr Entry functions[] = {
    {"face_loops",
     "The solid's planar faces with their holes, as (points, faces, outer_of): points as float triples "
     "(correctly rounded); per face (outward integer normal, label, shell, loops of point indices, the "
     "outer loop first, counter-clockwise seen from outside); per shell the outer shell of its piece.",
     solid_only, face_loops_of},
};

constexpr Surface face_loop_functions{functions, std::size(functions), nullptr, raise_current_exception, run_guarded};

}  // namespace

PyMethodDef* face_loop_function_defs() { return method_table<&face_loop_functions, std::size(functions)>(); }

}  // namespace corv::python_lib
