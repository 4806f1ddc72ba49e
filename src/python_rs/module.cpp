// Initialisation of the corvanthium_rs extension module.
#include <Python.h>

#include "binder/conversion.h"
#include "binder/module_init.h"
#include "binder/py_ref.h"
#include "core/memory_budget.h"
#include "python_rs/functions.h"
#include "python_rs/methods.h"
#include "python_rs/solid_type.h"

namespace corv::python_rs {
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

PyObject* create_module() {
    memory::install_gmp_hooks();
    binder::set_conversion_room([](std::size_t bytes) { return memory::fits(static_cast<std::int64_t>(bytes)); });
    PyRef module(PyModule_Create(&module_def));
    if (!module) return nullptr;
    PyObject* solid_class = solid_type(solid_method_defs());
    if (solid_class == nullptr || !binder::add_to_module(module.get(), "PySolid", solid_class)) return nullptr;
    if (!binder::add_functions(module.get(), module_function_defs())) return nullptr;
    return module.release();
}

binder::SingleModule the_module{"corvanthium_rs", create_module};

}  // namespace
}  // namespace corv::python_rs

PyMODINIT_FUNC PyInit_corvanthium_rs(void) { return corv::binder::init_single_module(corv::python_rs::the_module); }
