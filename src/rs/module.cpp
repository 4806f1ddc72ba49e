// Initialisation of the corvanthium_rs extension module.
#include <Python.h>

#include <cstdint>

#include "binder/py_ref.h"
#include "rs/functions.h"
#include "rs/methods.h"
#include "rs/solid_type.h"

namespace corv::rs {
namespace {

using binder::PyRef;

PyModuleDef module_def = {
    PyModuleDef_HEAD_INIT,
    "corvanthium_rs",
    "",       // empty module docstring
    0,        // no per-module state; init is called again on re-import
    nullptr,  // functions are added one by one, in order, with __all__
    nullptr,
    nullptr,
    nullptr,
    nullptr,
};

// The module lives in one interpreter only; these are its strong reference
// and that interpreter's id.
PyObject* the_module = nullptr;
std::int64_t owner_interpreter = -1;

// Sets module.name = value and appends name to module.__all__, creating the
// list on the first addition.
bool add_to_module(PyObject* module, const char* name, PyObject* value) {
    if (PyObject_SetAttrString(module, name, value) < 0) return false;
    PyRef all(PyObject_GetAttrString(module, "__all__"));
    if (!all) {
        if (!PyErr_ExceptionMatches(PyExc_AttributeError)) return false;
        PyErr_Clear();
        all = PyRef(PyList_New(0));
        if (!all || PyObject_SetAttrString(module, "__all__", all.get()) < 0) return false;
    }
    PyRef name_text(PyUnicode_FromString(name));
    return name_text && PyList_Append(all.get(), name_text.get()) == 0;
}

PyObject* create_module() {
    PyRef module(PyModule_Create(&module_def));
    if (!module) return nullptr;
    PyObject* solid_class = solid_type(solid_method_defs());
    if (solid_class == nullptr || !add_to_module(module.get(), "PySolid", solid_class)) return nullptr;
    PyRef module_name(PyModule_GetNameObject(module.get()));
    if (!module_name) return nullptr;
    for (PyMethodDef* def = module_function_defs(); def->ml_name != nullptr; ++def) {
        PyRef function(PyCFunction_NewEx(def, module.get(), module_name.get()));
        if (!function || !add_to_module(module.get(), def->ml_name, function.get())) return nullptr;
    }
    return module.release();
}

PyObject* init_module() {
    std::int64_t interpreter = PyInterpreterState_GetID(PyInterpreterState_Get());
    if (interpreter == -1) return nullptr;
    if (the_module != nullptr) {
        if (interpreter != owner_interpreter) {
            PyErr_SetString(PyExc_ImportError,
                            "corvanthium_rs does not support sub-interpreters: it is already initialised in "
                            "another interpreter of this process");
            return nullptr;
        }
        Py_IncRef(the_module);
        return the_module;
    }
    PyObject* module = create_module();
    if (module == nullptr) return nullptr;
    Py_IncRef(module);
    the_module = module;
    owner_interpreter = interpreter;
    return module;
}

}  // namespace
}  // namespace corv::rs

PyMODINIT_FUNC PyInit_corvanthium_rs(void) { return corv::rs::init_module(); }
