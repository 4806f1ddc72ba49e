#include "python_lib/call_guard.h"

#include <pythread.h>

#include <atomic>
#include <cstdint>
#include <optional>

#include "binder/conversion.h"
#include "binder/py_ref.h"
#include "core/guard.h"
#include "core/memory_budget.h"

namespace corv::python_lib {
namespace {

using binder::PyRef;

// The application's progress callback (a strong reference), read and written
// only with the lock held; has_callback mirrors it for polls that run without
// the lock.
PyObject* progress_callback = nullptr;
std::atomic<bool> has_callback{false};
// The thread that handles signals (threading.main_thread()).
unsigned long main_thread = 0;

struct CallState {
    bool on_main_thread = false;
    bool reported = false;
    const char* op = nullptr;
    std::uint64_t done = 0;
    std::uint64_t total = 0;
};

// Calls the callback with (op, done, total) when that differs from the last
// report of this call. The lock is held. False when the callback raised.
bool report(CallState& state, const char* op, std::uint64_t done, std::uint64_t total) {
    if (progress_callback == nullptr || op == nullptr) return true;
    if (state.reported && op == state.op && done == state.done && total == state.total) return true;
    state.reported = true;
    state.op = op;
    state.done = done;
    state.total = total;
    PyRef callback(progress_callback);
    Py_IncRef(callback.get());  // the callback may replace itself
    PyRef result(PyObject_CallFunction(callback.get(), "sKK", op, static_cast<unsigned long long>(done),
                                       static_cast<unsigned long long>(total)));
    return static_cast<bool>(result);
}

bool check(void* opaque, const char* op, std::uint64_t done, std::uint64_t total) {
    CallState& state = *static_cast<CallState*>(opaque);
    if (!state.on_main_thread && !has_callback.load(std::memory_order_relaxed)) return true;
    PyGILState_STATE lock = PyGILState_Ensure();
    bool go_on = PyErr_CheckSignals() == 0 && report(state, op, done, total);
    PyGILState_Release(lock);
    return go_on;
}

PyObject* set_memory_limit(PyObject*, PyObject* arg) {
    std::optional<std::int64_t> bytes;
    if (arg != Py_None) {
        long long n = PyLong_AsLongLong(arg);
        if (n == -1 && PyErr_Occurred() != nullptr) return nullptr;
        if (n <= 0) {
            PyErr_SetString(PyExc_ValueError, "set_memory_limit: the limit is a positive number of bytes, or None");
            return nullptr;
        }
        bytes = n;
    }
    std::optional<std::int64_t> previous = memory::set_budget(bytes);
    if (!previous) {
        Py_IncRef(Py_None);
        return Py_None;
    }
    return PyLong_FromLongLong(*previous);
}

PyObject* set_progress(PyObject*, PyObject* arg) {
    if (arg != Py_None && PyCallable_Check(arg) == 0) {
        PyErr_SetString(PyExc_TypeError, "set_progress: the callback must be callable or None");
        return nullptr;
    }
    PyObject* previous = progress_callback;
    if (arg == Py_None) {
        progress_callback = nullptr;
    } else {
        Py_IncRef(arg);
        progress_callback = arg;
    }
    has_callback.store(progress_callback != nullptr, std::memory_order_relaxed);
    if (previous == nullptr) {
        Py_IncRef(Py_None);
        return Py_None;
    }
    return previous;  // the reference the module held
}

PyMethodDef guard_functions[] = {
    {"set_memory_limit", set_memory_limit, METH_O,
     "set_memory_limit(n)\n--\n\n"
     "Sets the memory budget of the process's exact numbers to n bytes (None restores the default: "
     "half of physical memory, less under an address-space limit) and returns the previous setting "
     "(None for the default). A call that goes over the budget stops with MemoryError."},
    {"set_progress", set_progress, METH_O,
     "set_progress(callback)\n--\n\n"
     "Sets the function called as callback(op, done, total) while a long call makes progress (on the "
     "calling thread, with the interpreter lock held; None removes it) and returns the previous one. "
     "An exception it raises cancels the call, which re-raises it; a call that completes gives the same "
     "exact result as without a callback. Raises TypeError for a callback that is not callable."},
    {nullptr, nullptr, 0, nullptr},
};

}  // namespace

PyObject* run_guarded(binder::Implementation impl, const binder::Call& call) {
    CallState state;
    state.on_main_thread = PyThread_get_thread_ident() == main_thread;
    guard::Watch watch;
    watch.check = check;
    watch.opaque = &state;
    PyRef result;
    {
        guard::Scope scope(watch);
        result = PyRef(impl(call));
    }
    // A call that showed progress reports its end, so a bar can close.
    if (result && state.reported && !report(state, state.op, state.total, state.total)) return nullptr;
    return result.release();
}

bool init_call_guard() {
    memory::install_gmp_hooks();
    binder::set_conversion_room([](std::size_t bytes) { return memory::fits(static_cast<std::int64_t>(bytes)); });
    PyRef threading(PyImport_ImportModule("threading"));
    if (!threading) return false;
    PyRef main(PyObject_CallMethod(threading.get(), "main_thread", nullptr));
    if (!main) return false;
    PyRef ident(PyObject_GetAttrString(main.get(), "ident"));
    if (!ident) return false;
    main_thread = PyLong_AsUnsignedLong(ident.get());
    return PyErr_Occurred() == nullptr;
}

PyMethodDef* guard_function_defs() { return guard_functions; }

}  // namespace corv::python_lib
