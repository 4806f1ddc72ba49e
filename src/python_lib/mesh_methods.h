// Triangle meshes in and out of the native part: the parts of a solid's mesh,
// which the package makes its Mesh of, and the module functions behind
// from_mesh().
#pragma once

#include <Python.h>

#include "binder/callables.h"

namespace corv::python_lib {

// mesh_parts() of the native solid: the float64 vertex bytes, the int64 face
// bytes, the exact coordinates as a flat tuple of (numerator, denominator)
// ints, the labels per triangle.
PyObject* solid_mesh_parts(const binder::Call& c);

// The method definitions of the mesh module functions (_from_float_mesh,
// _from_exact_mesh), closed by the empty sentinel. Static storage.
PyMethodDef* mesh_function_defs();

}  // namespace corv::python_lib
