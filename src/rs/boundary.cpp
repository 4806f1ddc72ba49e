#include "rs/boundary.h"

#include <Python.h>

#include <exception>
#include <new>

#include "core/panic.h"
#include "rs/panic_exception.h"

namespace corv::rs {

void raise_current_exception() noexcept {
    try {
        throw;
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

}  // namespace corv::rs
