// Initialisation of corvanthium._native, the native part of the corvanthium
// package.
#include <Python.h>

#include "binder/module_init.h"
#include "binder/py_ref.h"
#include "python_lib/call_guard.h"
#include "python_lib/engine.h"
#include "python_lib/errors.h"
#include "python_lib/exact_number.h"
#include "python_lib/face_loops.h"
#include "python_lib/functions.h"
#include "python_lib/mesh_methods.h"
#include "python_lib/part_functions.h"
#include "python_lib/solid_methods.h"

namespace corv::python_lib {
namespace {

using binder::PyRef;

PyModuleDef module_def = {
    PyModuleDef_HEAD_INIT,
    "corvanthium._native",
    "The native part of the corvanthium package: exact solids on the C++ kernel.",
    0,  // no per-module state; init is called again on re-import
    nullptr,
    nullptr,
    nullptr,
    nullptr,
    nullptr,
};

PyObject* create_module() {
    if (!init_call_guard() || !load_number_classes()) return nullptr;
    PyRef module(PyModule_Create(&module_def));
    if (!module) return nullptr;
    PyObject* solid_class = solid_type(solid_tables());
    if (solid_class == nullptr || !binder::add_to_module(module.get(), "NativeSolid", solid_class)) return nullptr;
    PyObject* error_class = kernel_error_class();
    if (error_class == nullptr || !binder::add_to_module(module.get(), "KernelError", error_class)) return nullptr;
    PyRef engine(PyUnicode_FromString(engine_name(default_engine)));
    if (!engine || !binder::add_to_module(module.get(), "DEFAULT_ENGINE", engine.get())) return nullptr;
    if (!binder::add_functions(module.get(), module_function_defs())) return nullptr;
    if (!binder::add_functions(module.get(), mesh_function_defs())) return nullptr;
    if (!binder::add_functions(module.get(), part_function_defs())) return nullptr;
    if (!binder::add_functions(module.get(), face_loop_function_defs())) return nullptr;
    if (!binder::add_functions(module.get(), guard_function_defs())) return nullptr;
    return module.release();
}

binder::SingleModule the_module{"corvanthium._native", create_module};

}  // namespace
}  // namespace corv::python_lib

PyMODINIT_FUNC PyInit__native(void) { return corv::binder::init_single_module(corv::python_lib::the_module); }
