// The watch over each call of corvanthium._native: Ctrl-C (or whatever a
// signal handler raises), a progress callback that may cancel, and the
// process's memory budget, all seen from the kernel's polls while the
// interpreter lock is released.
#pragma once

#include <Python.h>

#include "binder/callables.h"

namespace corv::python_lib {

// Runs one call's implementation under a watch. While the kernel works
// without the lock, a poll that is due takes the lock back briefly (on the
// main thread, where signals are handled, or when a progress callback is
// set), runs PyErr_CheckSignals and the callback, and stops the call when
// either raised; the call then re-raises that exception.
PyObject* run_guarded(binder::Implementation impl, const binder::Call& call);

// Once per process: counts GMP's allocations against the memory budget and
// notes which thread is the main one. False with a Python error set.
bool init_call_guard();

// set_memory_limit(n) and set_progress(callback), closed by the sentinel.
PyMethodDef* guard_function_defs();

}  // namespace corv::python_lib
