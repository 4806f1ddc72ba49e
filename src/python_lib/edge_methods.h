// NativeSolid.edges() and NativeSolid.chamfer(): a solid's edges as plain
// tuples (the package makes its Edge records of them), and the chamfer of
// chosen edges, or of every edge by cutter solids.
#pragma once

#include <Python.h>

#include "binder/callables.h"

namespace corv::python_lib {

extern const binder::Param chamfer_params[3];  // dist, *, edges=None, method=None

// A tuple with one tuple per edge, in the kernel's order: (start, end,
// normal0, normal1, label0, label1, convex, angle, length).
PyObject* solid_edges_method(const binder::Call& c);

// The solid with the edges at the given indices of edges() (every edge for
// None) bevelled by dist; with method 'cutters', every edge by the
// construction by oversized cutter solids (src/chamfer), which takes no
// edges (TypeError); another method is a ValueError.
PyObject* solid_chamfer(const binder::Call& c);

}  // namespace corv::python_lib
