// The call guard: polls stop a call when the front end's check says so or the
// memory budget is exceeded, report progress, and leave nothing behind.
#include "core/guard.h"

#include <gtest/gtest.h>

#include <chrono>
#include <new>
#include <string>
#include <thread>

#include "bsp/boolean.h"
#include "core/memory_budget.h"
#include "core/rational.h"
#include "core/solid.h"
#include "nurbs/nurbs_eval.h"
#include "ssi/ssi_pairs.h"

namespace corv {
namespace {

// Counts the checks; stops the call at check number stop_at (0: never).
struct Counter {
    int checks = 0;
    int stop_at = 0;
    std::string last_op;
    std::uint64_t done = 0, total = 0;
};

bool count_checks(void* opaque, const char* op, std::uint64_t done, std::uint64_t total) {
    Counter& c = *static_cast<Counter*>(opaque);
    ++c.checks;
    if (op != nullptr) c.last_op = op;
    c.done = done;
    c.total = total;
    return c.stop_at == 0 || c.checks < c.stop_at;
}

guard::Watch watch_of(Counter& c) {
    guard::Watch w;
    w.check = count_checks;
    w.opaque = &c;
    return w;
}

Net flat_square(int z) {
    Net net(2, Row(2));
    for (std::int64_t i = 0; i < 2; ++i) {
        for (std::int64_t j = 0; j < 2; ++j) {
            net[static_cast<std::size_t>(i)][static_cast<std::size_t>(j)] = {Rational(i), Rational(j), Rational(z)};
        }
    }
    return net;
}

// Polls for up to a second, or until the poll throws.
void poll_for_a_second() {
    auto end = std::chrono::steady_clock::now() + std::chrono::seconds(1);
    while (std::chrono::steady_clock::now() < end) guard::poll(64);
}

TEST(Guard, PollsWithoutAWatchDoNothing) {
    EXPECT_EQ(guard::current(), nullptr);
    for (int i = 0; i < 100000; ++i) guard::poll(1000);
    guard::progress("nothing", 1, 2);  // no watch: ignored
}

TEST(Guard, ChecksAreSpacedInTimeAndStopTheCall) {
    Counter c;
    guard::Watch w = watch_of(c);
    {
        guard::Scope scope(w);
        EXPECT_EQ(guard::current(), &w);
        guard::poll(1 << 20);  // due by units, not yet by time: no check
        EXPECT_EQ(c.checks, 0);
        std::this_thread::sleep_for(guard::check_interval * 2);
        guard::poll(1 << 20);
        EXPECT_EQ(c.checks, 1);
        c.stop_at = 2;
        EXPECT_THROW(poll_for_a_second(), guard::Interrupted);
    }
    EXPECT_EQ(guard::current(), nullptr);
}

TEST(Guard, ProgressShowsTheFirstOpAndNestedScopesRestore) {
    Counter outer_count, inner_count;
    guard::Watch outer = watch_of(outer_count), inner = watch_of(inner_count);
    guard::Scope outer_scope(outer);
    guard::progress("chamfer", 3, 10);
    guard::progress("mesh", 5, 6);  // another op in the same call: not shown
    EXPECT_STREQ(outer.op, "chamfer");
    EXPECT_EQ(outer.done, 3u);
    {
        guard::Scope inner_scope(inner);
        guard::progress("mesh", 1, 2);
        EXPECT_EQ(guard::current(), &inner);
    }
    EXPECT_EQ(guard::current(), &outer);
    EXPECT_STREQ(inner.op, "mesh");
    std::this_thread::sleep_for(guard::check_interval * 2);
    guard::poll(guard::credit_per_look + 1);
    EXPECT_EQ(outer_count.last_op, "chamfer");
    EXPECT_EQ(outer_count.total, 10u);
}

TEST(Guard, EachThreadHasItsOwnWatch) {
    Counter c;
    guard::Watch w = watch_of(c);
    guard::Scope scope(w);
    const guard::Watch* seen = &w;
    std::thread other([&] { seen = guard::current(); });
    other.join();
    EXPECT_EQ(seen, nullptr);
}

TEST(Guard, KernelLoopsStopAndRunAgain) {
    const Solid a = Solid::cube(4, 4, 4, "a");
    Solid b = Solid::cube(2, 2, 2, "b");
    const std::vector<PairBoxes> expected = ssi_pairs(flat_square(0), flat_square(0), 5, {}, {});
    const Solid expected_cut = boolean(BooleanOp::cut, a, b);
    for (int stop_at : {1, 2}) {
        Counter c;
        c.stop_at = stop_at;
        guard::Watch w = watch_of(c);
        guard::Scope scope(w);
        w.next_check = {};  // the first look runs the check
        EXPECT_THROW(ssi_pairs(flat_square(0), flat_square(0), 9, {}, {}), guard::Interrupted);
        EXPECT_EQ(c.last_op, "ssi_pairs");
    }
    // Nothing of the stopped calls is left in the way of the next ones.
    EXPECT_EQ(ssi_pairs(flat_square(0), flat_square(0), 5, {}, {}), expected);
    EXPECT_EQ(boolean(BooleanOp::cut, a, b).polygons.size(), expected_cut.polygons.size());
}

TEST(Guard, DeBoorStepsPoll) {
    const std::uint64_t degree = 300;
    std::vector<Coords> cps;
    std::vector<Rational> knots;
    for (std::uint64_t i = 0; i <= degree; ++i) cps.push_back({Rational(static_cast<std::int64_t>(i)), 1, 2});
    for (std::uint64_t i = 0; i < 2 * (degree + 1); ++i) knots.push_back(i <= degree ? 0 : 1);
    Counter c;
    c.stop_at = 1;
    guard::Watch w = watch_of(c);
    guard::Scope scope(w);
    w.next_check = {};
    EXPECT_THROW(nurbs_curve_eval(degree, cps, knots, Rational(1) / Rational(3), std::nullopt), guard::Interrupted);
    EXPECT_EQ(c.last_op, "nurbs");
    EXPECT_EQ(c.total, degree - 1);
}

TEST(MemoryBudget, CountsGmpAndStopsOverTheBudget) {
    memory::install_gmp_hooks();
    const std::int64_t before = memory::live_bytes();
    {
        Rational big = Rational(Integer(1), Integer(3));
        for (int i = 0; i < 12; ++i) big = big * big + Rational(1);  // about 2^12 * 1.6 bits
        EXPECT_GT(memory::live_bytes(), before + 256);
    }
    EXPECT_EQ(memory::live_bytes(), before);  // every limb given back

    const std::int64_t cap = memory::live_bytes() + (std::int64_t{4} << 20);
    const std::optional<std::int64_t> old = memory::set_budget(cap);
    EXPECT_FALSE(memory::over_budget());
    EXPECT_THROW(memory::require(std::int64_t{8} << 20), std::bad_alloc);
    EXPECT_NO_THROW(memory::require(std::int64_t{1} << 20));
    {
        Rational huge = Rational(7);
        Counter c;
        guard::Watch w = watch_of(c);
        guard::Scope scope(w);
        // Squaring checks its operands first: it stops before GMP is asked
        // for more than the budget, or at the next poll after it.
        EXPECT_THROW(
            for (;;) {
                huge = huge * huge;
                guard::poll(guard::credit_per_look + 1);
            },
            std::bad_alloc);
    }
    EXPECT_FALSE(memory::over_budget());
    EXPECT_EQ(memory::set_budget(old), std::optional<std::int64_t>(cap));
    EXPECT_GT(memory::budget(), std::int64_t{8} << 20);
}

}  // namespace
}  // namespace corv
