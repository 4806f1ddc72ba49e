#include "python_lib/errors.h"

#include <exception>
#include <new>

#include "core/guard.h"
#include "core/memory_budget.h"
#include "core/panic.h"

namespace corv::python_lib {
namespace {

// Made once per process and never released.
PyObject* kernel_error = nullptr;

}  // namespace

PyObject* kernel_error_class() noexcept {
    if (kernel_error == nullptr) {
        kernel_error =
            PyErr_NewExceptionWithDoc("corvanthium.KernelError",
                                      "A failure that the exact kernel reports: a malformed or non-finite number, a\n"
                                      "zero denominator, a solid without polygons where one is needed, lists whose\n"
                                      "lengths do not fit together, an operation that cannot be made exactly (a\n"
                                      "chamfer at a face without a rational unit normal), or a corrupted file or\n"
                                      "payload. The message names the problem and, where there is one, the argument.",
                                      PyExc_ValueError, nullptr);
    }
    return kernel_error;
}

void raise_kernel_error(const std::string& text) noexcept {
    PyObject* cls = kernel_error_class();
    if (cls == nullptr) return;
    PyObject* message = PyUnicode_DecodeUTF8(text.data(), static_cast<Py_ssize_t>(text.size()), "replace");
    if (message == nullptr) return;
    PyErr_SetObject(cls, message);
    Py_DecRef(message);
}

void raise_memory_error() noexcept {
    PyErr_Format(PyExc_MemoryError,
                 "the call needed more memory than the budget for exact numbers allows (%lld bytes; "
                 "corvanthium.set_memory_limit(bytes) changes it) or than the machine has",
                 static_cast<long long>(memory::budget()));
}

void raise_current_exception() noexcept {
    try {
        throw;
    } catch (const guard::Interrupted&) {
        // The signal handler or the progress callback has set the error.
        if (PyErr_Occurred() == nullptr) PyErr_SetNone(PyExc_KeyboardInterrupt);
    } catch (const Panic& e) {
        raise_kernel_error(e.what());
    } catch (const ValueFailure& e) {
        raise_kernel_error(e.what());
    } catch (const std::bad_alloc&) {
        raise_memory_error();
    } catch (const std::exception& e) {
        std::string text = "internal failure: ";
        text += e.what();
        raise_kernel_error(text);
    } catch (...) {
        raise_kernel_error("internal failure of unknown kind");
    }
}

}  // namespace corv::python_lib
