// Running native work without the interpreter lock, so other Python threads
// run meanwhile. The work must not touch any Python object: it reads only
// native values that the caller keeps alive (the arguments a call has bound
// stay referenced until the call returns).
#pragma once

#include <Python.h>

#include <utility>

namespace corv::binder {

// Releases the lock for the lifetime of the guard; the lock is taken back
// on every exit, an exception included.
class GilReleased {
public:
    GilReleased() noexcept : state_(PyEval_SaveThread()) {}
    GilReleased(const GilReleased&) = delete;
    GilReleased& operator=(const GilReleased&) = delete;
    ~GilReleased() { PyEval_RestoreThread(state_); }

private:
    PyThreadState* state_;
};

// work() with the lock released; its result (or exception) is handed on.
template <class Work>
auto without_gil(Work&& work) {
    GilReleased released;
    return std::forward<Work>(work)();
}

}  // namespace corv::binder
