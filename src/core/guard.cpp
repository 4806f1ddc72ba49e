#include "core/guard.h"

#include <new>

#include "core/memory_budget.h"

namespace corv::guard {
namespace {

// The watch of the call on this thread. Each thread sees only its own.
thread_local Watch* current_watch = nullptr;

}  // namespace

Watch* current() noexcept { return current_watch; }

void look(Watch& watch) {
    watch.credit = credit_per_look;
    if (memory::over_budget()) throw std::bad_alloc();
    auto now = std::chrono::steady_clock::now();
    if (now < watch.next_check) return;
    watch.next_check = now + check_interval;
    if (watch.check != nullptr && !watch.check(watch.opaque, watch.op, watch.done, watch.total)) throw Interrupted{};
}

void progress(const char* op, std::uint64_t done, std::uint64_t total) {
    Watch* w = current_watch;
    if (w == nullptr) return;
    if (w->op != nullptr && w->op != op) return;
    w->op = op;
    w->done = done;
    w->total = total;
}

Scope::Scope(Watch& watch) noexcept : previous_(current_watch) {
    memory::clear_overrun();
    watch.credit = credit_per_look;
    watch.next_check = std::chrono::steady_clock::now() + check_interval;
    current_watch = &watch;
}

Scope::~Scope() { current_watch = previous_; }

}  // namespace corv::guard
