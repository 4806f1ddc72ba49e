// Binding of a call's positional and keyword arguments to declared parameter
// names, with the interpreter's own rules and wording for a Python function of
// the same signature.
#pragma once

#include <Python.h>

#include <optional>
#include <span>
#include <vector>

#include "binder/parameters.h"
#include "binder/py_ref.h"

namespace corv::binder {

// Who is being called, for the messages.
struct Callee {
    const char* owner;  // class name for a method, null for a module function
    const char* name;
    std::span<const Param> params;
};

// One strong reference per declared parameter, in declaration order (null
// for an omitted optional parameter); nothing, with a TypeError set, when the
// call does not fit the signature. args is a tuple or null, kwargs a dict or
// null. A method's self counts as a positional parameter in the messages, as
// it does for a method written in Python.
std::optional<std::vector<PyRef>> bind_arguments(const Callee& callee, PyObject* args, PyObject* kwargs);

}  // namespace corv::binder
