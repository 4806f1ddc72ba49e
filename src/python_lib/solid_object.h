// The native class behind the package's Solid: corvanthium._native.NativeSolid,
// an immutable object holding one corv::Solid by value. The package's Python
// class Solid holds one and adds everything written in Python (meshes, files,
// pictures, pickling, operators).
#pragma once

#include <Python.h>

#include "binder/callables.h"
#include "core/solid.h"

namespace corv::python_lib {

// The class's tables, gathered by its definition in solid_methods.cpp.
struct SolidTables {
    PyMethodDef* methods;
    PyGetSetDef* properties;
    unaryfunc repr;
};

// Creates the class on first call and keeps it for the life of the process;
// later calls return the same class. A borrowed reference, or null with a
// Python error set.
PyObject* solid_type(const SolidTables& tables);

// A new NativeSolid holding solid, or null with a Python error set. Only
// valid once the class exists.
PyObject* new_solid_object(Solid solid);

// The solid held by obj, or null when obj is not a NativeSolid.
const Solid* solid_of_instance(PyObject* obj);

// NativeSolid as the receiver of methods, and as a parameter kind (stores a
// const Solid*); messages call it Solid, as users know it.
extern const binder::Receiver solid_receiver;
extern const binder::Converter solid_param;

inline const Solid& self_solid(const binder::Call& c) { return *static_cast<const Solid*>(c.self); }
inline const Solid& solid_arg(const binder::Call& c, std::size_t i) { return *c.args.get<const Solid*>(i); }

}  // namespace corv::python_lib
