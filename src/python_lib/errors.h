// The exceptions of the corvanthium package and the one call boundary that
// maps the kernel's C++ failures onto them.
#pragma once

#include <Python.h>

#include <stdexcept>
#include <string>

namespace corv::python_lib {

// corvanthium.KernelError (a ValueError), made on first use and kept for the
// life of the process. Returns a borrowed reference, or null with an error set.
PyObject* kernel_error_class() noexcept;

// Sets KernelError(text) as the current Python error.
void raise_kernel_error(const std::string& text) noexcept;

// MemoryError saying the budget and how to change it.
void raise_memory_error() noexcept;

// Turns the C++ exception being handled into the current Python error:
// Panic and ValueFailure -> KernelError, std::bad_alloc -> MemoryError, an
// interrupted call -> the error that stopped it, any other failure ->
// KernelError marked internal. Call it only from inside a catch block.
void raise_current_exception() noexcept;

}  // namespace corv::python_lib
