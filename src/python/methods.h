// The methods of PySolid.
#pragma once

#include <Python.h>

namespace corv::py {

// The method table of PySolid, in its documented order, closed by the empty
// sentinel. Static storage.
PyMethodDef* solid_method_defs();

}  // namespace corv::py
