#include "python_lib/edge_methods.h"

#include <optional>
#include <vector>

#include "bevel/bevel.h"
#include "binder/conversion.h"
#include "binder/gil.h"
#include "binder/py_ref.h"
#include "binder/results.h"
#include "chamfer/chamfer.h"
#include "core/panic.h"
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

using Indices = std::vector<std::size_t>;

// None (every edge) or an iterable of indices into edges(), copied.
bool read_indices(PyObject* obj, binder::Value& out) {
    if (obj == nullptr || obj == Py_None) {
        binder::store(out, std::optional<Indices>{});
        return true;
    }
    PyRef iterator(PyObject_GetIter(obj));
    if (!iterator) {
        PyErr_Clear();
        return binder::refuse_type(obj, "an iterable of edge indices");
    }
    Indices indices;
    for (;;) {
        PyRef item(PyIter_Next(iterator.get()));
        if (!item) {
            if (PyErr_Occurred()) return false;
            break;
        }
        PyRef index(PyNumber_Index(item.get()));
        if (!index) return false;
        const std::size_t i = PyLong_AsSize_t(index.get());
        if (i == static_cast<std::size_t>(-1) && PyErr_Occurred()) return false;
        indices.push_back(i);
    }
    binder::store(out, std::optional<Indices>{std::move(indices)});
    return true;
}

constexpr binder::Converter indices_kind{read_indices, true};

}  // namespace

const binder::Param chamfer_params[3] = {
    {"dist", &number}, {"edges", &indices_kind, true, "None"}, {"method", &binder::optional_text, true, "None"}};

PyObject* solid_chamfer(const binder::Call& c) {
    const Rational& dist = positive(c.args.get<Rational>(0), "chamfer", "dist");
    const auto& chosen = c.args.get<std::optional<Indices>>(1);
    const auto& method = c.args.get<std::optional<std::string>>(2);
    if (method && *method != "cutters") {
        PyErr_Format(PyExc_ValueError, "chamfer(): method must be None or 'cutters', got '%s'", method->c_str());
        return nullptr;
    }
    if (method && chosen) {
        PyErr_SetString(PyExc_TypeError, "chamfer(): method='cutters' bevels every edge; it takes no edges");
        return nullptr;
    }
    return new_solid_object(binder::without_gil([&] {
        if (method) return corv::chamfer(self_solid(c), dist);
        return chosen ? bevel_edges(self_solid(c), *chosen, dist) : bevel_all_edges(self_solid(c), dist);
    }));
}

PyObject* solid_edges_method(const binder::Call& c) {
    const std::vector<SolidEdge> edges = binder::without_gil([&] {
        try {
            return solid_edges(self_solid(c));
        } catch (const Panic& p) {
            throw Panic(p.kind, std::string("edges: ") + p.what());
        }
    });
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
