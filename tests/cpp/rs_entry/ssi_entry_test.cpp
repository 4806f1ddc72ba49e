#include <gtest/gtest.h>

#include <sys/resource.h>
#include "support/support.h"

#include <cstdlib>
#include <new>

#include "core/panic.h"
#include "rs_entry/number_text.h"
#include "rs_entry/ssi_entry.h"

using namespace corv;
using namespace corv::rs_entry;

namespace {

const TextNet kUnitSquare = {{{"0", "0", "0"}, {"0", "1", "0"}}, {{"1", "0", "0"}, {"1", "1", "0"}}};

PairRow row(std::initializer_list<const char*> t) {
    PairRow r;
    std::size_t k = 0;
    for (const char* s : t) r[k++] = s;
    return r;
}

// The unit square with every point written homogeneously with weight w.
TextNet weighted_square(int w) {
    TextNet net = kUnitSquare;
    for (TextRows& rw : net) {
        for (Texts& p : rw) {
            for (std::string& s : p) s = std::to_string(std::stoi(s) * w);
            p.push_back(std::to_string(w));
        }
    }
    return net;
}

}  // namespace

TEST(SsiPairs, IdenticalSquaresKeepEveryTouchingPair) {
    // Each of the 8 x 8 cells meets itself and its up to 8 neighbours.
    EXPECT_EQ(ssi_pairs(kUnitSquare, kUnitSquare, 3, std::nullopt, std::nullopt).size(), 484u);
}

TEST(SsiPairs, SquaresTouchingAlongAnEdge) {
    TextNet right = {{{"1", "0", "0"}, {"1", "1", "0"}}, {{"2", "0", "0"}, {"2", "1", "0"}}};
    auto rows = ssi_pairs(kUnitSquare, right, 1, std::nullopt, std::nullopt);
    ASSERT_EQ(rows.size(), 4u);
    EXPECT_EQ(rows[0], row({"1/2", "1/1", "0/1", "1/2", "0/1", "1/2", "0/1", "1/2"}));
    EXPECT_EQ(ssi_pairs(kUnitSquare, right, 2, std::nullopt, std::nullopt).size(), 10u);
}

TEST(SsiPairs, RectanglesAreCarriedThroughSubdivision) {
    auto rows = ssi_pairs(kUnitSquare, kUnitSquare, 1, Texts{"1/3", "1", "0", "2"}, Texts{"5", "4", "0", "0"});
    ASSERT_EQ(rows.size(), 16u);
    EXPECT_EQ(rows[0], row({"1/3", "2/3", "0/1", "1/1", "5/1", "9/2", "0/1", "0/1"}));
    EXPECT_EQ(rows[15], row({"2/3", "1/1", "1/1", "2/1", "9/2", "4/1", "0/1", "0/1"}));
}

TEST(SsiPairs, EmptyLevelEndsTheRun) {
    // Two segments whose boxes overlap but whose halves are apart.
    TextNet a = {{{"0", "0", "0"}, {"0", "0", "0"}}, {{"4", "4", "0"}, {"4", "4", "0"}}};
    TextNet b = {{{"0", "3", "0"}, {"0", "3", "0"}}, {{"1", "4", "0"}, {"1", "4", "0"}}};
    EXPECT_TRUE(ssi_pairs(a, b, 1, std::nullopt, std::nullopt).empty());
    EXPECT_TRUE(ssi_pairs(a, b, std::uint64_t(1) << 62, std::nullopt, std::nullopt).empty());
}

// Every malformed net fails cleanly (run under the sanitizer build this also
// shows that no check reads past the end of a row or point).
TEST(SsiPairs, Failures) {
    EXPECT_PANIC_KIND(ssi_pairs(kUnitSquare, kUnitSquare, 1, Texts{"0", "1", "0"}, std::nullopt),
                      corv::PanicKind::bad_shape);
    EXPECT_PANIC_KIND(ssi_pairs(kUnitSquare, kUnitSquare, 0, std::nullopt, Texts{}), corv::PanicKind::bad_shape);
    EXPECT_PANIC_KIND(ssi_pairs({}, kUnitSquare, 1, std::nullopt, std::nullopt), corv::PanicKind::bad_shape);
    EXPECT_PANIC_KIND(ssi_pairs(kUnitSquare, {TextRows{}}, 1, std::nullopt, std::nullopt), corv::PanicKind::bad_shape);
    TextNet zero_weight = weighted_square(1);
    zero_weight[1][1][3] = "0";
    EXPECT_PANIC_KIND(ssi_pairs(zero_weight, kUnitSquare, 1, std::nullopt, std::nullopt),
                      corv::PanicKind::division_by_zero);
    // Weights 1 and -1 blend to a zero weight in the quarters.
    TextNet mixed = {{{"0", "0", "0", "1"}, {"0", "1", "0", "-1"}}};
    EXPECT_PANIC_KIND(ssi_pairs(mixed, mixed, 1, std::nullopt, std::nullopt), corv::PanicKind::division_by_zero);
    EXPECT_PANIC_KIND(ssi_pairs(kUnitSquare, {{{"0", "0", "0"}, {"1", "1"}}}, 1, std::nullopt, std::nullopt),
                      corv::PanicKind::bad_shape);
}

// Runs a request whose pair list grows 16-fold per level under a 512 MiB
// address-space limit; exits 7 when the allocation failure arrives as bad_alloc.
[[noreturn]] void exhaust_memory() {
    // A one-point patch against itself keeps all 16 pairs at every level.
    TextNet dot = {{{"1", "2", "3"}}};
    rlimit lim{rlim_t(512) << 20, rlim_t(512) << 20};
    setrlimit(RLIMIT_AS, &lim);
    try {
        ssi_pairs(dot, dot, 40, std::nullopt, std::nullopt);
    } catch (const std::bad_alloc&) {
        std::_Exit(7);
    }
    std::_Exit(1);
}

TEST(SsiPairsDeathTest, RunningOutOfMemoryIsAnException) {
#if defined(__SANITIZE_ADDRESS__)
    GTEST_SKIP() << "the address sanitizer reserves more address space than the limit allows";
#endif
    EXPECT_EXIT(exhaust_memory(), testing::ExitedWithCode(7), "");
}
