#include "python_rs/boundary.h"

#include <Python.h>

#include <exception>
#include <new>

#include "core/guard.h"
#include "core/panic.h"
#include "python_rs/panic_exception.h"

namespace corv::python_rs {

namespace {

bool signals_quiet(void*, const char*, std::uint64_t, std::uint64_t) { return PyErr_CheckSignals() == 0; }

}  // namespace

PyObject* run_guarded(binder::Implementation impl, const binder::Call& call) {
    guard::Watch watch;
    watch.check = signals_quiet;
    guard::Scope scope(watch);
    return impl(call);
}

void raise_current_exception() noexcept {
    try {
        throw;
    } catch (const guard::Interrupted&) {
        if (PyErr_Occurred() == nullptr) PyErr_SetNone(PyExc_KeyboardInterrupt);
    } catch (const Panic& e) {
        raise_panic(e.what());
    } catch (const ValueFailure& e) {
        PyErr_SetString(PyExc_ValueError, e.what());
    } catch (const std::bad_alloc&) {
        PyErr_NoMemory();
    } catch (const std::exception& e) {
        raise_panic(e.what());
    } catch (...) {
        raise_panic("internal failure of unknown kind");
    }
}

}  // namespace corv::python_rs
