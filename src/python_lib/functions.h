// The module functions of corvanthium._native.
#pragma once

#include <Python.h>

namespace corv::python_lib {

// The method definitions of the module functions, closed by the empty
// sentinel. Static storage.
PyMethodDef* module_function_defs();

}  // namespace corv::python_lib
