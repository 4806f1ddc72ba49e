// The methods of PySolid.
#pragma once

#include <Python.h>

namespace corv::python_rs {

// The method table of PySolid, in its documented order, closed by the empty
// sentinel. Static storage.
PyMethodDef* solid_method_defs();

}  // namespace corv::python_rs
