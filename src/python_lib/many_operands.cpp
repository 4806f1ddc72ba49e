#include "python_lib/many_operands.h"

#include <string>
#include <vector>

#include "binder/conversion.h"
#include "binder/gil.h"
#include "binder/py_ref.h"
#include "local/local_boolean.h"
#include "mesh/same_shape.h"
#include "python_lib/engine.h"
#include "python_lib/solid_object.h"

namespace corv::python_lib {
namespace {

using binder::PyRef;
using Solids = std::vector<Solid>;

// Any iterable of Solids, copied: the kernel then reads only values this
// call owns, whatever other threads do to the container meanwhile.
bool read_solids(PyObject* obj, binder::Value& out) {
    PyRef iterator(PyObject_GetIter(obj));
    if (!iterator) {
        PyErr_Clear();
        return binder::refuse_type(obj, "an iterable of Solids");
    }
    Solids solids;
    for (std::size_t i = 0;; ++i) {
        PyRef item(PyIter_Next(iterator.get()));
        if (!item) {
            if (PyErr_Occurred()) return false;
            break;
        }
        const Solid* s = solid_of_instance(item.get());
        if (s == nullptr) {
            PyRef type_name(PyType_GetName(Py_TYPE(item.get())));
            if (type_name) PyErr_Format(PyExc_TypeError, "item %zu is %U, not Solid", i, type_name.get());
            return false;
        }
        solids.push_back(*s);
    }
    binder::store(out, std::move(solids));
    return true;
}

constexpr binder::Converter solids_kind{read_solids, false};

}  // namespace

const binder::Param union_all_params[2] = {{"solids", &solids_kind}, {"engine", &engine_param, true}};
const binder::Param cut_all_params[2] = {{"tools", &solids_kind}, {"engine", &engine_param, true}};
const binder::Param same_shape_params[1] = {{"other", &solid_param}};

PyObject* union_all(const binder::Call& c) {
    const Solids& solids = c.args.get<Solids>(0);
    const Engine engine = c.args.get<Engine>(1);
    return new_solid_object(binder::without_gil([&] { return run_union_all(engine, solids); }));
}

PyObject* solid_cut_all(const binder::Call& c) {
    const Solids& tools = c.args.get<Solids>(0);
    const Engine engine = c.args.get<Engine>(1);
    return new_solid_object(binder::without_gil([&] { return run_cut_all(engine, self_solid(c), tools); }));
}

PyObject* solid_same_shape(const binder::Call& c) {
    const bool same = binder::without_gil([&] { return same_shape(self_solid(c), solid_arg(c, 0)); });
    return PyBool_FromLong(same ? 1 : 0);
}

}  // namespace corv::python_lib
