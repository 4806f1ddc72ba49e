// Python numbers to exact rationals and back. Accepted: int and anything with
// __index__ (numpy integers), Fraction and every other numbers.Rational,
// finite Decimal, and exact text in the grammar Fraction(str) accepts. bool
// and float are refused: a float is not the decimal its user typed.
#pragma once

#include <Python.h>

#include "core/integer.h"
#include "core/rational.h"

namespace corv::python_lib {

// Looks up fractions.Fraction, decimal.Decimal and numbers.Rational once, at
// module initialisation; false with an error set when one is missing.
bool load_number_classes();

// The exact value of obj in out; false with TypeError (a type that does not
// hold an exact number, with how to pass it exactly) or KernelError (a text
// that is not an exact number, a zero denominator, a NaN or infinite
// Decimal) set.
bool read_rational(PyObject* obj, Rational& out);

// The value of an int (after __index__) in out; false with an error set.
bool read_integer(PyObject* index, Integer& out);

// New int objects and Fractions, or null with an error set.
PyObject* integer_object(const Integer& value);
PyObject* fraction_object(const Rational& value);

}  // namespace corv::python_lib
