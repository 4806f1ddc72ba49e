// Conversion of bound Python arguments into the values the kernel takes.
#pragma once

#include <Python.h>

#include "python/parameters.h"

namespace corv::py {

// Converts the object bound to param (null for an omitted optional
// parameter) into out. On failure returns false with a Python error set: a
// TypeError is re-raised as "argument 'NAME': " + its message, keeping its
// cause; other errors (OverflowError, UnicodeEncodeError, ...) pass unchanged.
bool convert_argument(const Param& param, PyObject* obj, Value& out);

}  // namespace corv::py
