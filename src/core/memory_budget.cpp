#include "core/memory_budget.h"

#include <gmp.h>
#include <sys/resource.h>
#include <unistd.h>

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <new>

namespace corv::memory {
namespace {

// GMP's allocation functions are process-wide, so their counter is too: the
// one piece of state in the kernel that every thread shares, kept in atomics.
std::atomic<std::int64_t> live{0};
std::atomic<std::int64_t> chosen{0};          // 0: the default
std::atomic<std::int64_t> default_budget{0};  // 0: not worked out yet
std::atomic<bool> failed{false};
// Given back to malloc when a GMP request fails, so the request can be served.
std::atomic<void*> reserve{nullptr};
constexpr std::size_t reserve_bytes = std::size_t{16} << 20;
std::once_flag hooks_installed;

void take_reserve() noexcept {
    if (reserve.load(std::memory_order_relaxed) != nullptr) return;
    void* block = std::malloc(reserve_bytes);
    void* expected = nullptr;
    if (block != nullptr && !reserve.compare_exchange_strong(expected, block)) std::free(block);
}

bool spend_reserve() noexcept {
    failed.store(true, std::memory_order_relaxed);
    void* block = reserve.exchange(nullptr);
    if (block == nullptr) return false;
    std::free(block);
    return true;
}

[[noreturn]] void out_of_memory(std::size_t bytes) noexcept {
    std::fprintf(stderr, "corvanthium: GMP asked for %zu bytes and none are left\n", bytes);
    std::abort();
}

void* counted_allocate(std::size_t bytes) {
    void* p = std::malloc(bytes);
    while (p == nullptr) {
        if (!spend_reserve()) out_of_memory(bytes);
        p = std::malloc(bytes);
    }
    live.fetch_add(static_cast<std::int64_t>(bytes), std::memory_order_relaxed);
    return p;
}

void* counted_reallocate(void* old, std::size_t old_bytes, std::size_t new_bytes) {
    // realloc to zero bytes may free the block and return null; a request of
    // at least one byte that returns null leaves the old block as it was, so
    // it can be asked again after the reserve is spent.
    const std::size_t request = new_bytes == 0 ? 1 : new_bytes;
    void* p = std::realloc(old, request);
    while (p == nullptr) {
        if (!spend_reserve()) out_of_memory(request);
        p = std::realloc(old, request);
    }
    live.fetch_add(static_cast<std::int64_t>(new_bytes) - static_cast<std::int64_t>(old_bytes),
                   std::memory_order_relaxed);
    return p;
}

void counted_free(void* p, std::size_t bytes) {
    std::free(p);
    live.fetch_sub(static_cast<std::int64_t>(bytes), std::memory_order_relaxed);
}

// Bytes of address space in use now (the first field of /proc/self/statm).
std::int64_t address_space_used() {
    std::FILE* f = std::fopen("/proc/self/statm", "r");
    if (f == nullptr) return 0;
    long pages = 0;
    if (std::fscanf(f, "%ld", &pages) != 1) pages = 0;
    std::fclose(f);
    return static_cast<std::int64_t>(pages) * sysconf(_SC_PAGESIZE);
}

std::int64_t work_out_default() {
    std::int64_t physical = static_cast<std::int64_t>(sysconf(_SC_PHYS_PAGES)) * sysconf(_SC_PAGESIZE);
    std::int64_t result = physical > 0 ? physical / 2 : std::int64_t{1} << 32;
    rlimit limit{};
    if (getrlimit(RLIMIT_AS, &limit) == 0 && limit.rlim_cur != RLIM_INFINITY) {
        std::int64_t left = static_cast<std::int64_t>(limit.rlim_cur) - address_space_used();
        std::int64_t cap = live.load(std::memory_order_relaxed) + (left > 0 ? left / 2 : 0);
        if (cap < result) result = cap;
    }
    constexpr std::int64_t floor = std::int64_t{8} << 20;
    return result < floor ? floor : result;
}

}  // namespace

void install_gmp_hooks() {
    std::call_once(hooks_installed, [] {
        mp_set_memory_functions(counted_allocate, counted_reallocate, counted_free);
        take_reserve();
    });
}

std::int64_t live_bytes() noexcept { return live.load(std::memory_order_relaxed); }

std::int64_t budget() noexcept {
    std::int64_t set = chosen.load(std::memory_order_relaxed);
    if (set > 0) return set;
    std::int64_t fallback = default_budget.load(std::memory_order_relaxed);
    if (fallback == 0) {
        fallback = work_out_default();
        default_budget.store(fallback, std::memory_order_relaxed);
    }
    return fallback;
}

std::optional<std::int64_t> set_budget(std::optional<std::int64_t> bytes) noexcept {
    std::int64_t next = bytes ? (*bytes > 0 ? *bytes : 1) : 0;
    if (!bytes) default_budget.store(0, std::memory_order_relaxed);
    std::int64_t previous = chosen.exchange(next);
    if (previous == 0) return std::nullopt;
    return previous;
}

bool over_budget() noexcept {
    return failed.load(std::memory_order_relaxed) || live.load(std::memory_order_relaxed) > budget();
}

void clear_overrun() noexcept {
    if (failed.load(std::memory_order_relaxed)) {
        failed.store(false, std::memory_order_relaxed);
        take_reserve();
    }
}

bool fits(std::int64_t bytes) noexcept { return live.load(std::memory_order_relaxed) + bytes <= budget(); }

void require_slow(std::int64_t bytes) {
    if (!fits(bytes)) throw std::bad_alloc();
}

}  // namespace corv::memory
