#include "binder/binding.h"

#include <string>

namespace corv::binder {
namespace {

std::string display_name(const Callee& callee) {
    std::string name = callee.owner != nullptr ? std::string(callee.owner) + "." : std::string();
    return name + callee.name + "()";
}

// 'a'; 'a' and 'b'; 'a', 'b', and 'c' -- as the interpreter lists names.
std::string name_list(const std::vector<const char*>& names) {
    std::string out;
    for (std::size_t i = 0; i < names.size(); ++i) {
        if (i > 0) {
            if (names.size() == 2)
                out += " and ";
            else if (i + 1 == names.size())
                out += ", and ";
            else
                out += ", ";
        }
        out += "'";
        out += names[i];
        out += "'";
    }
    return out;
}

// The number of parameters that may be passed by position.
std::size_t positional_count(const Callee& callee) {
    std::size_t n = 0;
    while (n < callee.params.size() && !callee.params[n].keyword_only) ++n;
    return n;
}

void raise_too_many_positional(const Callee& callee, Py_ssize_t given) {
    const Py_ssize_t self_count = callee.owner != nullptr ? 1 : 0;
    const std::size_t positional = positional_count(callee);
    Py_ssize_t total = static_cast<Py_ssize_t>(positional) + self_count;
    Py_ssize_t required = self_count;
    for (std::size_t i = 0; i < positional; ++i) {
        if (!callee.params[i].kind->optional) ++required;
    }
    std::string takes =
        required == total ? std::to_string(total) : "from " + std::to_string(required) + " to " + std::to_string(total);
    given += self_count;
    PyErr_Format(PyExc_TypeError, "%s takes %s positional argument%s but %zd %s given", display_name(callee).c_str(),
                 takes.c_str(), total == 1 ? "" : "s", given, given == 1 ? "was" : "were");
}

// Index of the parameter named by key, or -1.
Py_ssize_t find_param(const Callee& callee, PyObject* key) {
    for (std::size_t i = 0; i < callee.params.size(); ++i) {
        if (PyUnicode_CompareWithASCIIString(key, callee.params[i].name) == 0) return static_cast<Py_ssize_t>(i);
    }
    return -1;
}

bool bind_keywords(const Callee& callee, PyObject* kwargs, std::vector<PyRef>& slots) {
    Py_ssize_t pos = 0;
    PyObject* key = nullptr;
    PyObject* value = nullptr;
    while (PyDict_Next(kwargs, &pos, &key, &value)) {
        if (!PyUnicode_Check(key)) {
            PyErr_Format(PyExc_TypeError, "%s keywords must be strings", display_name(callee).c_str());
            return false;
        }
        Py_ssize_t i = find_param(callee, key);
        if (i < 0) {
            PyErr_Format(PyExc_TypeError, "%s got an unexpected keyword argument '%U'", display_name(callee).c_str(),
                         key);
            return false;
        }
        if (slots[static_cast<std::size_t>(i)]) {
            PyErr_Format(PyExc_TypeError, "%s got multiple values for argument '%s'", display_name(callee).c_str(),
                         callee.params[static_cast<std::size_t>(i)].name);
            return false;
        }
        slots[static_cast<std::size_t>(i)] = PyRef::borrow(value);
    }
    return true;
}

}  // namespace

std::optional<std::vector<PyRef>> bind_arguments(const Callee& callee, PyObject* args, PyObject* kwargs) {
    const std::size_t count = callee.params.size();
    const std::size_t positional = positional_count(callee);
    std::vector<PyRef> slots(count);
    Py_ssize_t given = args != nullptr ? PyTuple_Size(args) : 0;
    if (given < 0) return std::nullopt;
    for (Py_ssize_t i = 0; i < given && static_cast<std::size_t>(i) < positional; ++i) {
        slots[static_cast<std::size_t>(i)] = PyRef::borrow(PyTuple_GetItem(args, i));
    }
    if (kwargs != nullptr && !bind_keywords(callee, kwargs, slots)) return std::nullopt;
    if (static_cast<std::size_t>(given) > positional) {
        raise_too_many_positional(callee, given);
        return std::nullopt;
    }
    std::vector<const char*> missing;
    for (std::size_t i = 0; i < count; ++i) {
        if (!slots[i] && !callee.params[i].kind->optional) missing.push_back(callee.params[i].name);
    }
    if (!missing.empty()) {
        PyErr_Format(PyExc_TypeError, "%s missing %zd required positional argument%s: %s", display_name(callee).c_str(),
                     static_cast<Py_ssize_t>(missing.size()), missing.size() == 1 ? "" : "s",
                     name_list(missing).c_str());
        return std::nullopt;
    }
    return slots;
}

}  // namespace corv::binder
