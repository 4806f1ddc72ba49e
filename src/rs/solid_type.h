// The Python class PySolid: an immutable object owning one Solid.
#pragma once

#include <Python.h>

#include "binder/callables.h"
#include "core/solid.h"

namespace corv::rs {

// Creates the class on first call (with the given method table) and keeps it
// for the life of the process; later calls return the same class. Returns a
// borrowed reference, or null with a Python error set.
PyObject* solid_type(PyMethodDef* methods);

// A new PySolid owning solid, or null with a Python error set. Only valid
// once the class exists.
PyObject* new_solid_object(corv::Solid solid);

// The solid of a PySolid instance, or null when obj is not one.
const corv::Solid* solid_of_instance(PyObject* obj);

// PySolid as the receiver of methods, and as a parameter kind (stores a
// const corv::Solid*).
extern const binder::Receiver solid_receiver;
extern const binder::Converter solid_param;

// The solid a method is called on, and argument i as a solid.
inline const corv::Solid& self_solid(const binder::Call& c) { return *static_cast<const corv::Solid*>(c.self); }
inline const corv::Solid& solid_arg(const binder::Call& c, std::size_t i) { return *c.args.get<const corv::Solid*>(i); }

}  // namespace corv::rs
