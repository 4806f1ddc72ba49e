#include "python_lib/edge_methods.h"

#include <optional>
#include <vector>

#include "binder/conversion.h"
#include "binder/gil.h"
#include "binder/py_ref.h"
#include "binder/results.h"
#include "edges/edge_measures.h"
#include "edges/solid_edges.h"
#include "python_lib/arguments.h"
#include "python_lib/results.h"
#include "python_lib/solid_object.h"

namespace corv::python_lib {
namespace {

using binder::PyRef;

// (start, end, normal0, normal1, label0, label1, convex, angle, length).
PyObject* edge_tuple(const SolidEdge& e) {
    PyObject* parts[9] = {
        point_result(e.start),
        point_result(e.end),
        point_result(e.faces[0].plane.normal),
        point_result(e.faces[1].plane.normal),
        binder::text_result(e.faces[0].label),
        binder::text_result(e.faces[1].label),
        binder::bool_result(e.convex),
        binder::float_result(interior_angle_degrees(e)),
        binder::float_result(edge_length(e)),
    };
    PyRef tuple(PyTuple_New(9));
    bool ok = static_cast<bool>(tuple);
    for (std::size_t i = 0; i < 9; ++i) {
        if (parts[i] == nullptr) ok = false;
        if (ok) {
            PyTuple_SetItem(tuple.get(), static_cast<Py_ssize_t>(i), parts[i]);  // takes the reference
        } else {
            Py_XDECREF(parts[i]);
        }
    }
    return ok ? tuple.release() : nullptr;
}

}  // namespace

PyObject* solid_edges_method(const binder::Call& c) {
    const std::vector<SolidEdge> edges = binder::without_gil([&] { return solid_edges(self_solid(c)); });
    PyRef tuple(PyTuple_New(static_cast<Py_ssize_t>(edges.size())));
    if (!tuple) return nullptr;
    for (std::size_t i = 0; i < edges.size(); ++i) {
        PyObject* item = edge_tuple(edges[i]);
        if (item == nullptr) return nullptr;
        PyTuple_SetItem(tuple.get(), static_cast<Py_ssize_t>(i), item);  // takes the reference
    }
    return tuple.release();
}

}  // namespace corv::python_lib
