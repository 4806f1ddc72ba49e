// Many operands at once: corvanthium.union_all(solids), Solid.cut_all(tools),
// and Solid.same_shape(other), the comparison that results of different
// engines call for.
#pragma once

#include <Python.h>

#include "binder/callables.h"

namespace corv::python_lib {

extern const binder::Param union_all_params[2];   // solids, *, engine
extern const binder::Param cut_all_params[2];     // tools, *, engine
extern const binder::Param same_shape_params[1];  // other

PyObject* union_all(const binder::Call& c);
PyObject* solid_cut_all(const binder::Call& c);
PyObject* solid_same_shape(const binder::Call& c);

}  // namespace corv::python_lib
