// NativeSolid.edges(): a solid's edges as plain tuples (the package makes
// its Edge records of them).
#pragma once

#include <Python.h>

#include "binder/callables.h"

namespace corv::python_lib {

// A tuple with one tuple per edge, in the kernel's order: (start, end,
// normal0, normal1, label0, label1, convex, angle, length).
PyObject* solid_edges_method(const binder::Call& c);

}  // namespace corv::python_lib
