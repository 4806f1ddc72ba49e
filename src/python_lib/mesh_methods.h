// Triangle meshes in and out of the corvanthium package: Solid.mesh() and
// the methods that hand a mesh to the package's Python part (files, pictures,
// the HTML viewer), and the module functions behind from_mesh().
#pragma once

#include <Python.h>

#include "binder/callables.h"

namespace corv::python_lib {

// Solid methods; each takes the solid as the call's receiver.
PyObject* solid_mesh(const binder::Call& c);      // mesh() -> corvanthium.Mesh
PyObject* solid_export(const binder::Call& c);    // export(path)
PyObject* solid_render(const binder::Call& c);    // render(path)
PyObject* solid_show(const binder::Call& c);      // show(path)
PyObject* solid_repr_png(const binder::Call& c);  // _repr_png_() -> bytes
extern const binder::Param output_path_params[1];

// The method definitions of the mesh module functions (_from_float_mesh,
// _from_exact_mesh), closed by the empty sentinel. Static storage.
PyMethodDef* mesh_function_defs();

}  // namespace corv::python_lib
