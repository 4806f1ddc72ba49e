// Module functions of the native part that measure and move whole solids:
// affine maps, mass properties, the surface's area, point containment and
// the pieces a solid falls into.
// The package's Solid calls them with its native solid as the first argument.
#pragma once

#include <Python.h>

namespace corv::python_lib {

// The method definitions (transform, moments, surface_area, contains, components),
// closed by the empty sentinel. Static storage.
PyMethodDef* part_function_defs();

}  // namespace corv::python_lib
