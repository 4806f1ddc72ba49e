// The module-level functions of corvanthium_rs.
#pragma once

#include <Python.h>

namespace corv::python_rs {

// The method definitions of the eight module functions, in registration
// order, closed by the empty sentinel. Static storage.
PyMethodDef* module_function_defs();

}  // namespace corv::python_rs
