// Exact kernel results as Python objects: Fractions, triples and lists of
// them. Each returns a new reference, or null with a Python error set.
#pragma once

#include <Python.h>

#include <span>
#include <utility>

#include "core/vec3.h"

namespace corv::python_lib {

// (x, y, z) as a tuple of three Fractions.
PyObject* point_result(const Vec3& p);
// ((x0, y0, z0), (x1, y1, z1)).
PyObject* point_pair_result(const std::pair<Vec3, Vec3>& pair);
// A tuple of Fractions.
PyObject* fraction_tuple(std::span<const Rational> values);

}  // namespace corv::python_lib
