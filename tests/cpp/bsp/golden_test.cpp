// Fingerprints of whole Boolean results: for thousands of seeded random
// programs (builders, transforms, chains of Booleans, chamfers) and for the
// benchmark workloads, the SHA-256 of every polygon in order, with its loop,
// plane and label, must equal the fingerprint recorded in golden.txt. Any
// change to the engine that alters one polygon, its order, its starting
// vertex or its direction shows up here.
//
// To record the file anew (only when a change of output is intended):
//   CORV_GOLDEN_WRITE=1 build/bsp_tests --gtest_filter='Golden*'
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <map>
#include <sstream>

#include "core/panic.h"
#include "support/random_solids.h"
#include "support/sha256.h"
#include "support/workloads.h"

namespace corv {
namespace {

const std::string kGoldenPath = std::string(CORV_SOURCE_DIR) + "/tests/cpp/bsp/golden.txt";

void fingerprint(const Solid& s, testing::Sha256& h) {
    std::string line;
    for (const Polygon& p : s.polygons) {
        line.clear();
        line += p.label;
        line += '|';
        append_point_text(line, p.plane.normal);
        line += ',';
        p.plane.offset.append_text(line);
        for (const Vec3& v : p.vertices()) {
            line += '|';
            append_point_text(line, v);
        }
        line += '\n';
        h.update(line);
    }
    h.update("#\n");
}

// Runs program number seed (support/random_solids.h), feeding every
// intermediate result to h; a failure is recorded by its message and ends
// the program.
std::size_t run_program(std::uint64_t seed, testing::Sha256& h, bool shaped = false) {
    std::size_t polygons = 0;
    try {
        testing_random::random_program(
            seed,
            [&](const Solid& s) {
                fingerprint(s, h);
                polygons = s.polygons.size();
            },
            testing_random::operand, shaped);
    } catch (const Panic& e) {
        polygons = 0;
        h.update(std::string("panic:") + e.what() + "\n");
    } catch (const ValueFailure& e) {
        polygons = 0;
        h.update(std::string("value:") + e.what() + "\n");
    }
    return polygons;
}

std::map<std::string, std::string> read_golden() {
    std::map<std::string, std::string> out;
    std::ifstream in(kGoldenPath);
    std::string name, rest;
    while (in >> name && std::getline(in, rest)) out[name] = rest.substr(rest.find_first_not_of(' '));
    return out;
}

bool writing() { return std::getenv("CORV_GOLDEN_WRITE") != nullptr; }

// Compares (or, when writing, records) the fingerprints of named results.
constexpr int kPrograms = 3000;
constexpr int kPerBatch = 250;

class Golden : public ::testing::Test {
protected:
    static std::map<std::string, std::string>& recorded() {
        static std::map<std::string, std::string> m;
        return m;
    }
    static void TearDownTestSuite() {
        if (!writing()) return;
        std::map<std::string, std::string> all = read_golden();
        for (auto& [k, v] : recorded()) all[k] = v;
        std::ofstream out(kGoldenPath);
        for (auto& [k, v] : all) out << k << ' ' << v << '\n';
    }
    void check(const std::string& name, const std::string& value) {
        if (writing()) {
            recorded()[name] = value;
            return;
        }
        static const std::map<std::string, std::string> golden = read_golden();
        auto it = golden.find(name);
        ASSERT_NE(it, golden.end()) << name << " has no recorded fingerprint";
        EXPECT_EQ(it->second, value) << name;
    }
    void check_solid(const std::string& name, const Solid& s) {
        testing::Sha256 h;
        fingerprint(s, h);
        check(name, std::to_string(s.polygons.size()) + " " + h.hex());
    }
    // The seeded programs, in batches of kPerBatch fingerprints.
    void check_programs(bool shaped) {
        for (int batch = 0; batch < kPrograms / kPerBatch; ++batch) {
            testing::Sha256 all;
            std::size_t polygons = 0;
            for (int i = batch * kPerBatch; i < (batch + 1) * kPerBatch; ++i) {
                testing::Sha256 one;
                polygons += run_program(static_cast<std::uint64_t>(i), one, shaped);
                all.update(one.hex());
            }
            char name[32];
            std::snprintf(name, sizeof name, "programs%02d", batch);
            check(name, std::to_string(polygons) + " " + all.hex());
        }
    }
};

TEST_F(Golden, RandomPrograms) { check_programs(false); }

// The same programs passing tree shapes from result to result: the same
// fingerprints.
TEST_F(Golden, RandomProgramsWithShapes) { check_programs(true); }

TEST_F(Golden, BenchWorkloads) {
    check_solid("box_cut", workloads::box_cut());
    for (const bool shaped : {false, true}) {
        check_solid("plate3", workloads::plate(3, shaped));
        check_solid("plate6", workloads::plate(6, shaped));
        check_solid("union12", workloads::box_union(12, shaped));
        check_solid("union48", workloads::box_union(48, shaped));
    }
    check_solid("chamfer_box", workloads::chamfered_box());
    check_solid("chamfer_l", workloads::chamfered_l_prism());
}

// Minutes under the sanitizers: left out of that pass (SANITIZE_SKIP in the Makefile).
TEST_F(Golden, SlowBenchWorkloads) {
    for (const bool shaped : {false, true}) {
        check_solid("plate12", workloads::plate(12, shaped));
        check_solid("union192", workloads::box_union(192, shaped));
    }
}

}  // namespace
}  // namespace corv
