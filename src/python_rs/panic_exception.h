// PanicException: the Python class for every internal failure of the kernel.
// It derives from BaseException directly, so `except Exception` does not
// catch it, and it lives in a runtime namespace of its own rather than in the
// module.
#pragma once

#include <string_view>

namespace corv::python_rs {

// Sets PanicException(text) as the current Python error; the class is made
// on first use. If the class cannot be made, that failure is left set instead.
void raise_panic(std::string_view text) noexcept;

}  // namespace corv::python_rs
