// The one failure type of the kernel. Anything that stops a call (malformed
// number text, division by zero, an index past the end of a list, ...) throws
// a Panic; the Python layer turns it into PanicException at the call boundary.
#pragma once

#include <stdexcept>
#include <string>

namespace corv {

struct Panic : std::runtime_error {
    explicit Panic(const std::string& what) : std::runtime_error(what) {}
};

// Checked element access for places where an index may run past the end.
template <class Seq>
auto& at_or_panic(Seq& seq, std::size_t i, const char* what) {
    if (i >= seq.size()) {
        throw Panic(std::string("index out of range: ") + what + " has " +
                    std::to_string(seq.size()) + " entries, index " + std::to_string(i));
    }
    return seq[i];
}

}  // namespace corv

namespace corv {

// A rejected input that the caller should see as a plain value error (the
// chamfer's "non-rational face normal"), not as an internal failure.
struct ValueFailure : std::runtime_error {
    explicit ValueFailure(const std::string& what) : std::runtime_error(what) {}
};

}  // namespace corv
