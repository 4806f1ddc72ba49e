// The module function face_loops: a solid's planar faces with their holes
// and the shells they form, as the package writes boundary representations
// (STEP, BREP) from them.
#pragma once

#include <Python.h>

namespace corv::python_lib {

// The method definitions (face_loops), closed by the empty sentinel. Static
// storage.
PyMethodDef* face_loop_function_defs();

}  // namespace corv::python_lib
