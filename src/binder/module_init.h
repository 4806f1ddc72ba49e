// Module creation shared by the extension modules: names added with
// __all__, and the guard that keeps a module in the one interpreter that
// first imported it.
#pragma once

#include <Python.h>

#include <cstdint>

namespace corv::binder {

// Sets module.name = value and appends name to module.__all__, creating the
// list on the first addition. False with an error set on failure.
bool add_to_module(PyObject* module, const char* name, PyObject* value);

// Adds every function of a method table (closed by the empty sentinel) to
// the module, in order, with add_to_module.
bool add_functions(PyObject* module, PyMethodDef* defs);

// A module made once per process by create() and kept for the process's
// life; imported again (after removal from sys.modules) it is the same
// object. A second interpreter of the process gets ImportError.
struct SingleModule {
    const char* name;
    PyObject* (*create)();
    PyObject* module = nullptr;
    std::int64_t owner_interpreter = -1;
};

// The new reference a PyInit function returns, or null with an error set.
PyObject* init_single_module(SingleModule& state);

}  // namespace corv::binder
