// The Python class PySolid: an immutable object owning one Solid.
#pragma once

#include <Python.h>

#include <memory>

#include "binder/callables.h"
#include "bsp/boolean.h"
#include "core/solid.h"

namespace corv::python_rs {

// What a PySolid owns: its solid, and the shape of the BSP tree its polygons
// build when the Boolean that made it left one (a PySolid never changes, so
// the shape stays true for it).
struct HeldSolid {
    corv::Solid solid;
    std::shared_ptr<const bsp::TreeShape> tree_shape;
};

// Creates the class on first call (with the given method table) and keeps it
// for the life of the process; later calls return the same class. Returns a
// borrowed reference, or null with a Python error set.
PyObject* solid_type(PyMethodDef* methods);

// A new PySolid owning solid, or null with a Python error set. Only valid
// once the class exists.
PyObject* new_solid_object(corv::Solid solid);
// The same for a Boolean's result, keeping its tree shape.
PyObject* new_solid_object(corv::ShapedSolid result);

// What a PySolid instance holds, or null when obj is not one.
const HeldSolid* held_of_instance(PyObject* obj);

// PySolid as the receiver of methods, and as a parameter kind (stores a
// const HeldSolid*).
extern const binder::Receiver solid_receiver;
extern const binder::Converter solid_param;

// What the method is called on, and argument i, as held and as a solid.
inline const HeldSolid& self_held(const binder::Call& c) { return *static_cast<const HeldSolid*>(c.self); }
inline const HeldSolid& held_arg(const binder::Call& c, std::size_t i) { return *c.args.get<const HeldSolid*>(i); }
inline const corv::Solid& self_solid(const binder::Call& c) { return self_held(c).solid; }
inline const corv::Solid& solid_arg(const binder::Call& c, std::size_t i) { return held_arg(c, i).solid; }

}  // namespace corv::python_rs
