#include "python_rs/panic_exception.h"

#include <Python.h>

namespace corv::python_rs {
namespace {

// Made once per process and never released.
PyObject* panic_class = nullptr;

PyObject* panic_exception_class() noexcept {
    if (panic_class == nullptr) {
        panic_class = PyErr_NewExceptionWithDoc(
            "corvanthium_runtime.PanicException",
            "An internal failure of the corvanthium_rs kernel: malformed number text, a zero\n"
            "denominator, an index past the end of a list, or any other broken invariant.\n"
            "The single argument is the failure text.",
            PyExc_BaseException, nullptr);
    }
    return panic_class;
}

}  // namespace

void raise_panic(std::string_view text) noexcept {
    PyObject* cls = panic_exception_class();
    if (cls == nullptr) return;
    PyObject* message = PyUnicode_DecodeUTF8(text.data(), static_cast<Py_ssize_t>(text.size()), "replace");
    if (message == nullptr) return;
    PyErr_SetObject(cls, message);
    Py_DecRef(message);
}

}  // namespace corv::python_rs
