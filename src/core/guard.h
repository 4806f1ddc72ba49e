// The call guard: long loops in the kernel poll it, so a call can be stopped
// from outside (an interrupt, a cancelled progress report, a memory budget
// overrun) and can say how far it has come. A front end installs a Watch for
// the duration of one call on the calling thread; with none installed (the
// C++ tests, the kernel used on its own) polling does nothing.
//
// Polling is cheap: poll(units) subtracts from a per-call credit and only when
// that runs out looks at the clock; the front end's check runs at most once
// every check_interval. A stop is an exception that unwinds through the kernel
// like any failure: Interrupted (the front end has already recorded why) or
// std::bad_alloc for the memory budget.
#pragma once

#include <chrono>
#include <cstdint>
#include <exception>

namespace corv::guard {

// Thrown by a poll when the front end's check asks to stop. The reason (the
// exception a signal handler or a progress callback raised) is kept by the
// front end; the kernel only unwinds.
struct Interrupted : std::exception {
    const char* what() const noexcept override { return "the call was interrupted"; }
};

// What a front end supplies for one call. check is called from a poll, on
// the calling thread, with the progress so far; it returns false to stop the
// call (the poll then throws Interrupted).
struct Watch {
    bool (*check)(void* opaque, const char* op, std::uint64_t done, std::uint64_t total) = nullptr;
    void* opaque = nullptr;
    // Progress of the outermost piece of work that has a known size.
    const char* op = nullptr;
    std::uint64_t done = 0;
    std::uint64_t total = 0;
    // Units of work left before the clock is read again.
    std::int64_t credit = 0;
    std::chrono::steady_clock::time_point next_check{};
};

// How often the front end's check runs, at most, during a call.
inline constexpr std::chrono::microseconds check_interval{2000};
// Units of work between two looks at the clock.
inline constexpr std::int64_t credit_per_look = 256;

// The watch of the call running on this thread, or null.
Watch* current() noexcept;

// The slow half of poll: reads the clock, checks the memory budget and runs
// the front end's check when it is due. Throws Interrupted or std::bad_alloc.
void look(Watch& watch);

// Counts units of work done (one unit is roughly a microsecond of work, an
// exact arithmetic operation on small numbers or a few of them).
inline void poll(std::int64_t units = 1) {
    Watch* w = current();
    if (w != nullptr && (w->credit -= units) < 0) look(*w);
}
// The same for a loop that looked up the call's watch once (current() is a
// thread-local read, and the watch stays for the whole call).
inline void poll(Watch* w, std::int64_t units) {
    if (w != nullptr && (w->credit -= units) < 0) look(*w);
}

// Records that op has done `done` of `total` parts of its work. Only the
// first op that reports in a call is shown; nested work reports nothing.
void progress(const char* op, std::uint64_t done, std::uint64_t total);

// Installs a watch on this thread for its lifetime (a call); the watch that
// was current before (a nested call) comes back afterwards.
class Scope {
public:
    explicit Scope(Watch& watch) noexcept;
    Scope(const Scope&) = delete;
    Scope& operator=(const Scope&) = delete;
    ~Scope();

private:
    Watch* previous_;
};

}  // namespace corv::guard
