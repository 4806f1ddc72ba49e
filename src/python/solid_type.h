// The Python class PySolid: an immutable object owning one Solid.
#pragma once

#include <Python.h>

#include "core/solid.h"

namespace corv::py {

// Creates the class on first call (with the given method table) and keeps it
// for the life of the process; later calls return the same class. Returns a
// borrowed reference, or null with a Python error set.
PyObject* solid_type(PyMethodDef* methods);

// A new PySolid owning solid, or null with a Python error set. Only valid
// once the class exists.
PyObject* new_solid_object(corv::Solid solid);

// The solid of a PySolid instance, or null when obj is not one.
const corv::Solid* solid_of_instance(PyObject* obj);

}  // namespace corv::py
