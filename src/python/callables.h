// The declarative form of every Python-facing function and method: a name, a
// docstring that starts with the text signature, the parameter list and one
// implementation that calls into the kernel. Generic trampolines turn a table
// of entries into the interpreter's method definitions.
#pragma once

#include <Python.h>

#include <array>
#include <span>
#include <utility>

#include "python/parameters.h"
#include "python/solid_type.h"

namespace corv::py {

// What an implementation receives: the solid a method is called on (null for
// a module function) and the converted arguments.
struct Call {
    const corv::Solid* self;
    Arguments args;
};

// Returns a new reference, or null with a Python error set; may throw.
using Implementation = PyObject* (*)(const Call& call);

struct Entry {
    const char* name;
    const char* doc;  // "name(params)\n--\n\n" and the doc text, if any
    std::span<const Param> params;
    Implementation impl;
};

inline constexpr const char* solid_class_name = "PySolid";

// Binds and converts the arguments, then runs the implementation; every C++
// exception is turned into a Python error here.
PyObject* invoke(const Entry& entry, const char* owner, const corv::Solid* self, PyObject* args,
                 PyObject* kwargs) noexcept;

template <const Entry* Table, std::size_t I>
PyObject* call_function(PyObject*, PyObject* args, PyObject* kwargs) {
    return invoke(Table[I], nullptr, nullptr, args, kwargs);
}

// The interpreter checks that self is a PySolid before calling a method.
template <const Entry* Table, std::size_t I>
PyObject* call_method(PyObject* self, PyObject* args, PyObject* kwargs) {
    return invoke(Table[I], solid_class_name, solid_of_instance(self), args, kwargs);
}

template <const Entry* Table, std::size_t I>
PyObject* call_method_without_arguments(PyObject* self, PyObject*) {
    return invoke(Table[I], solid_class_name, solid_of_instance(self), nullptr, nullptr);
}

template <class Function>
PyCFunction as_cfunction(Function* f) {
    return reinterpret_cast<PyCFunction>(reinterpret_cast<void (*)()>(f));
}

// Entries without parameters use the no-argument convention, all others the
// tuple-and-keywords one.
template <const Entry* Table, bool IsMethod, std::size_t I>
PyMethodDef method_def() {
    const Entry& e = Table[I];
    if (IsMethod && e.params.empty()) {
        return {e.name, as_cfunction(call_method_without_arguments<Table, I>), METH_NOARGS, e.doc};
    }
    PyCFunctionWithKeywords call = IsMethod ? call_method<Table, I> : call_function<Table, I>;
    return {e.name, as_cfunction(call), METH_VARARGS | METH_KEYWORDS, e.doc};
}

// The method definitions of a whole table, closed by the empty sentinel.
template <const Entry* Table, bool IsMethod, std::size_t... I>
std::array<PyMethodDef, sizeof...(I) + 1> method_defs(std::index_sequence<I...>) {
    return {{method_def<Table, IsMethod, I>()..., PyMethodDef{nullptr, nullptr, 0, nullptr}}};
}

}  // namespace corv::py
