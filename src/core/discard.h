// Freeing a large value away from the calling thread. A call that is being
// stopped may hold millions of small blocks; freeing them one by one would
// delay the stop by a large fraction of a second, so they go to a short-lived
// thread of their own instead.
#pragma once

#include <thread>
#include <utility>

namespace corv {

// Takes value and frees it on a detached thread; when no thread can be
// started, frees it here.
template <class T>
void discard_in_background(T&& value) noexcept {
    try {
        std::thread([doomed = std::move(value)]() mutable { T gone = std::move(doomed); }).detach();
    } catch (...) {
        // The thread did not start: its copy of the value was freed here.
    }
}

}  // namespace corv
