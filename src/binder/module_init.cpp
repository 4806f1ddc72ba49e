#include "binder/module_init.h"

#include "binder/py_ref.h"

namespace corv::binder {

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

bool add_functions(PyObject* module, PyMethodDef* defs) {
    PyRef module_name(PyModule_GetNameObject(module));
    if (!module_name) return false;
    for (PyMethodDef* def = defs; def->ml_name != nullptr; ++def) {
        PyRef function(PyCFunction_NewEx(def, module, module_name.get()));
        if (!function || !add_to_module(module, def->ml_name, function.get())) return false;
    }
    return true;
}

PyObject* init_single_module(SingleModule& state) {
    std::int64_t interpreter = PyInterpreterState_GetID(PyInterpreterState_Get());
    if (interpreter == -1) return nullptr;
    if (state.module != nullptr) {
        if (interpreter != state.owner_interpreter) {
            PyErr_Format(PyExc_ImportError,
                         "%s does not support sub-interpreters: it is already initialised in another interpreter "
                         "of this process",
                         state.name);
            return nullptr;
        }
        Py_IncRef(state.module);
        return state.module;
    }
    PyObject* module = state.create();
    if (module == nullptr) return nullptr;
    Py_IncRef(module);
    state.module = module;
    state.owner_interpreter = interpreter;
    return module;
}

}  // namespace corv::binder
