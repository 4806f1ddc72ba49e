// The declarative form of Python-facing functions and methods: a name, a
// docstring that starts with the text signature, the parameter list and one
// implementation. A front end collects its entries in a Surface together with
// what its methods are called on and how its failures become Python errors;
// generic trampolines turn a surface into the interpreter's method table.
#pragma once

#include <Python.h>

#include <array>
#include <cstddef>
#include <span>
#include <utility>

#include "binder/parameters.h"

namespace corv::binder {

// What an implementation receives: the unwrapped object a method is called
// on (null for a module function) and the converted arguments.
struct Call {
    const void* self;
    Arguments args;
};

// Returns a new reference, or null with a Python error set; may throw.
using Implementation = PyObject* (*)(const Call& call);

struct Entry {
    const char* name;
    const char* doc;  // the doc text; the signature is made from params
    std::span<const Param> params;
    Implementation impl;
};

// The entry's docstring as the interpreter reads it: the text signature made
// from its parameters ("name($self, a, b=None, *, c='x')\n--\n\n" for a
// method), then its doc text. Static storage, made once per entry.
const char* signed_doc(const Entry& entry, bool is_method);

// The class whose methods a surface holds: its name for messages and how
// the native value is found in an instance (null when it is not one).
struct Receiver {
    const char* class_name;
    const void* (*unwrap)(PyObject* obj);
};

// Runs an implementation on behalf of a front end (which may set up the
// call's surroundings first, such as a watch for interrupts).
using Runner = PyObject* (*)(Implementation impl, const Call& call);

// A front end's entries. raise_current_exception is called inside a catch
// block and must set the Python error for the exception being handled;
// receiver is null for module functions; run, when not null, runs each
// implementation.
struct Surface {
    const Entry* entries;
    std::size_t count;
    const Receiver* receiver;
    void (*raise_current_exception)() noexcept;
    Runner run;
};

// Binds and converts the arguments, then runs the implementation; every C++
// exception is turned into a Python error here, by the surface's own mapping.
PyObject* invoke(const Surface& surface, std::size_t index, PyObject* self, PyObject* args, PyObject* kwargs) noexcept;

template <const Surface* S, std::size_t I>
PyObject* call_with_keywords(PyObject* self, PyObject* args, PyObject* kwargs) {
    return invoke(*S, I, self, args, kwargs);
}

template <const Surface* S, std::size_t I>
PyObject* call_without_arguments(PyObject* self, PyObject*) {
    return invoke(*S, I, self, nullptr, nullptr);
}

template <class Function>
PyCFunction as_cfunction(Function* f) {
    return reinterpret_cast<PyCFunction>(reinterpret_cast<void (*)()>(f));
}

// Methods without parameters use the no-argument convention, everything
// else the tuple-and-keywords one.
template <const Surface* S, std::size_t I>
PyMethodDef method_def() {
    const Entry& e = S->entries[I];
    const char* doc = signed_doc(e, S->receiver != nullptr);
    if (S->receiver != nullptr && e.params.empty()) {
        return {e.name, as_cfunction(call_without_arguments<S, I>), METH_NOARGS, doc};
    }
    return {e.name, as_cfunction(call_with_keywords<S, I>), METH_VARARGS | METH_KEYWORDS, doc};
}

template <const Surface* S, std::size_t... I>
std::array<PyMethodDef, sizeof...(I) + 1> method_defs(std::index_sequence<I...>) {
    return {{method_def<S, I>()..., PyMethodDef{nullptr, nullptr, 0, nullptr}}};
}

// The method definitions of the whole surface (N entries), closed by the
// empty sentinel. Static storage, made on first call.
template <const Surface* S, std::size_t N>
PyMethodDef* method_table() {
    static auto defs = method_defs<S>(std::make_index_sequence<N>());
    return defs.data();
}

// Read-only properties: an entry without parameters becomes the getter of a
// property of the same name (the doc is the entry's doc).
template <const Surface* S, std::size_t I>
PyObject* get_property(PyObject* self, void*) {
    return invoke(*S, I, self, nullptr, nullptr);
}

template <const Surface* S, std::size_t... I>
std::array<PyGetSetDef, sizeof...(I) + 1> getset_defs(std::index_sequence<I...>) {
    return {{PyGetSetDef{S->entries[I].name, get_property<S, I>, nullptr, S->entries[I].doc, nullptr}...,
             PyGetSetDef{nullptr, nullptr, nullptr, nullptr, nullptr}}};
}

// The property definitions of a whole surface of N entries without
// parameters, closed by the empty sentinel. Static storage, made on first call.
template <const Surface* S, std::size_t N>
PyGetSetDef* property_table() {
    static auto defs = getset_defs<S>(std::make_index_sequence<N>());
    return defs.data();
}

// Type slots: entry I as a unary slot (repr, ...), and as a binary operator
// slot whose one parameter is the right operand. The operator answers
// NotImplemented when either operand is not of the receiver's class, so
// Python can try the reflected operation.
template <const Surface* S, std::size_t I>
PyObject* unary_slot(PyObject* self) {
    return invoke(*S, I, self, nullptr, nullptr);
}

template <const Surface* S, std::size_t I>
PyObject* binary_slot(PyObject* left, PyObject* right) {
    if (S->receiver->unwrap(left) == nullptr || S->receiver->unwrap(right) == nullptr) {
        PyObject* not_implemented = Py_NotImplemented;
        Py_IncRef(not_implemented);
        return not_implemented;
    }
    PyObject* args = PyTuple_Pack(1, right);
    if (args == nullptr) return nullptr;
    PyObject* result = invoke(*S, I, left, args, nullptr);
    Py_DecRef(args);
    return result;
}

}  // namespace corv::binder
