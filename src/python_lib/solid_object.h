// The Python class corvanthium.Solid: an immutable object holding one
// corv::Solid by value.
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
    binaryfunc union_op;      // a | b
    binaryfunc cut_op;        // a - b
    binaryfunc intersect_op;  // a & b
    const char* doc;
};

// Creates the class on first call and keeps it for the life of the process;
// later calls return the same class. A borrowed reference, or null with a
// Python error set.
PyObject* solid_type(const SolidTables& tables);

// A new Solid object holding solid, or null with a Python error set. Only
// valid once the class exists.
PyObject* new_solid_object(Solid solid);

// The solid held by obj, or null when obj is not a Solid.
const Solid* solid_of_instance(PyObject* obj);

// Solid as the receiver of methods, and as a parameter kind (stores a
// const Solid*).
extern const binder::Receiver solid_receiver;
extern const binder::Converter solid_param;

inline const Solid& self_solid(const binder::Call& c) { return *static_cast<const Solid*>(c.self); }
inline const Solid& solid_arg(const binder::Call& c, std::size_t i) { return *c.args.get<const Solid*>(i); }

}  // namespace corv::python_lib
