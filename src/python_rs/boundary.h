// The call boundary: no C++ exception ever reaches the interpreter.
#pragma once

#include <Python.h>

#include "binder/callables.h"

namespace corv::python_rs {

// Runs one call's implementation under a watch: the kernel's polls look for
// a pending signal (PyErr_CheckSignals, the lock is held throughout) and for
// the memory budget, and stop the call with what the signal handler raised
// or with MemoryError.
PyObject* run_guarded(binder::Implementation impl, const binder::Call& call);

// Turns the C++ exception being handled into the current Python error:
// Panic and any other std::exception -> PanicException(text),
// ValueFailure -> ValueError(text), std::bad_alloc -> MemoryError, an
// interrupted call -> the error its signal handler set.
// Call it only from inside a catch block.
void raise_current_exception() noexcept;

}  // namespace corv::python_rs
