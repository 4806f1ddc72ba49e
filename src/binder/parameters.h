// Declared parameters of Python-facing functions and methods, and the
// converted argument values an implementation receives. How an argument is
// converted is a Converter: the binder supplies the common ones (texts,
// lists of texts, integers; see conversion.h) and a front end declares its
// own (its object types, its number types) the same way.
#pragma once

#include <Python.h>

#include <any>
#include <cstddef>
#include <vector>

namespace corv::binder {

// One converted argument; its type is whatever the parameter's converter
// stores.
using Value = std::any;

struct Converter {
    // Converts obj into out; false with a Python error set on failure. obj
    // is null only for an omitted optional parameter.
    bool (*read)(PyObject* obj, Value& out);
    // Whether the parameter may be omitted (it then defaults to None).
    bool optional;
};

struct Param {
    const char* name;
    const Converter* kind;
};

// The converted arguments of one call, in declaration order. Asking for the
// wrong type throws (std::bad_any_cast), which the call boundary reports as
// an internal failure.
struct Arguments {
    std::vector<Value> values;

    template <class T>
    const T& get(std::size_t i) const {
        return std::any_cast<const T&>(values.at(i));
    }
};

}  // namespace corv::binder
