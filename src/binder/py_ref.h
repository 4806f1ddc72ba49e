// PyRef: one strong reference to a Python object, released on scope exit.
// Reference counts change only through the interpreter's API functions.
#pragma once

#include <Python.h>

#include <utility>

namespace corv::binder {

class PyRef {
public:
    PyRef() noexcept = default;
    // Takes over a new reference (may be null).
    explicit PyRef(PyObject* owned) noexcept : p_(owned) {}
    // Adds a reference to a borrowed object.
    static PyRef borrow(PyObject* borrowed) noexcept {
        Py_IncRef(borrowed);
        return PyRef(borrowed);
    }
    PyRef(PyRef&& o) noexcept : p_(std::exchange(o.p_, nullptr)) {}
    PyRef& operator=(PyRef&& o) noexcept {
        if (this != &o) {
            Py_DecRef(p_);
            p_ = std::exchange(o.p_, nullptr);
        }
        return *this;
    }
    PyRef(const PyRef&) = delete;
    PyRef& operator=(const PyRef&) = delete;
    ~PyRef() { Py_DecRef(p_); }

    PyObject* get() const noexcept { return p_; }
    explicit operator bool() const noexcept { return p_ != nullptr; }
    // Hands the reference to the caller.
    PyObject* release() noexcept { return std::exchange(p_, nullptr); }

private:
    PyObject* p_ = nullptr;
};

}  // namespace corv::binder
