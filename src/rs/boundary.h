// The call boundary: no C++ exception ever reaches the interpreter.
#pragma once

namespace corv::rs {

// Turns the C++ exception being handled into the current Python error:
// Panic and any other std::exception -> PanicException(text),
// ValueFailure -> ValueError(text), std::bad_alloc -> MemoryError.
// Call it only from inside a catch block.
void raise_current_exception() noexcept;

}  // namespace corv::rs
