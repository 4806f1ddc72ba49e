// The process's memory budget for exact numbers. GMP allocates every big
// number through functions of ours (installed once per process), which count
// the live bytes across all threads. A call that goes over the budget stops
// at its next poll with std::bad_alloc (the front ends' MemoryError); where a
// size is known before GMP is asked (a product, a text's digits) it is checked
// first, so GMP is rarely asked for more than the budget allows.
//
// GMP's allocation functions must not throw, so they never do: over the
// budget they still serve the request and record the overrun; when malloc
// fails they give back a reserve block and try again, so a failed request
// does not end the process.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>

namespace corv::memory {

// Installs the counting allocation functions into GMP. Idempotent; call it
// before any big number exists (module initialisation).
void install_gmp_hooks();

// Live bytes that GMP holds through our functions.
std::int64_t live_bytes() noexcept;

// The budget in bytes: the one set, or the default (half of physical memory,
// and at most half of the address space left under RLIMIT_AS when one is
// set, read when the default is first needed).
std::int64_t budget() noexcept;
// Sets the budget (nullopt restores the default); returns the previous
// setting (nullopt when it was the default).
std::optional<std::int64_t> set_budget(std::optional<std::int64_t> bytes) noexcept;

// True when the live bytes exceed the budget, or an allocation failed since
// the last clear_overrun().
bool over_budget() noexcept;
// Forgets a failed allocation (at the start of a call) and takes back the
// reserve block if it was spent.
void clear_overrun() noexcept;

// Whether `bytes` more keep the live bytes within the budget.
bool fits(std::int64_t bytes) noexcept;

// Throws std::bad_alloc when `bytes` more would take the live bytes over the
// budget. Cheap enough for any path that makes a big number: requests under
// small_request are not checked.
inline constexpr std::int64_t small_request = std::int64_t{1} << 20;
void require_slow(std::int64_t bytes);
inline void require(std::int64_t bytes) {
    if (bytes >= small_request) require_slow(bytes);
}

}  // namespace corv::memory
