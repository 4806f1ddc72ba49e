// Solids as bytes and files: to_bytes, save, load and decode (what pickles
// of the package's Solid call), on the kernel's stored form
// (serial/serial.h). Encoding, decoding and file reads and writes run
// without the interpreter lock; corrupt bytes raise KernelError, file
// failures the OSError that Python's open would raise.
#pragma once

#include <Python.h>

#include "binder/callables.h"

namespace corv::python_lib {

extern const binder::Param data_params[1];  // data: a bytes-like object
extern const binder::Param path_params[1];  // path: str, bytes or os.PathLike

// Methods of Solid.
PyObject* solid_to_bytes(const binder::Call& c);
PyObject* solid_save(const binder::Call& c);

// Module functions: the solid stored in data, or in the file at path.
PyObject* solid_from_bytes(const binder::Call& c);
PyObject* solid_load(const binder::Call& c);

}  // namespace corv::python_lib
