// Timings of the BSP Booleans on the workloads (medians), with the cost per
// operand polygon per Boolean, the decisions the float screens left to exact
// arithmetic, and the peak resident memory. `bench_bsp quick` skips the
// 12 x 12 plate and the 192-box union; `bench_bsp NAME [RUNS]` runs one
// workload (RUNS times).
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "bench_support.h"
#include "bsp/boolean.h"
#include "core/filtered.h"
#include "support/workloads.h"

namespace {

using namespace corv;

struct Workload {
    std::string name;
    bool slow;
    int runs;
    // Runs the workload once; adds each Boolean's operand polygons to tally.
    std::function<void(std::size_t& tally)> run;
};

Solid counted(BooleanOp op, const Solid& a, const Solid& b, std::size_t& tally) {
    tally += a.polygons.size() + b.polygons.size();
    return boolean(op, a, b);
}

Workload plate(int k, int runs) {
    auto holes = std::make_shared<std::vector<Solid>>(workloads::plate_holes(k));
    return {"plate " + std::to_string(k) + "x" + std::to_string(k), k >= 12, runs, [k, holes](std::size_t& tally) {
                Solid p = workloads::plate_blank(k);
                for (const Solid& hole : *holes) p = counted(BooleanOp::cut, p, hole, tally);
            }};
}

Workload box_union(int n, int runs) {
    auto boxes = std::make_shared<std::vector<Solid>>(workloads::shifted_boxes(n));
    return {"union " + std::to_string(n), n >= 192, runs, [boxes](std::size_t& tally) {
                Solid acc = (*boxes)[0];
                for (std::size_t i = 1; i < boxes->size(); ++i)
                    acc = counted(BooleanOp::union_, acc, (*boxes)[i], tally);
            }};
}

std::vector<Workload> all_workloads() {
    const Solid a = Solid::cube(2, 2, 2, "A");
    const Solid b = translated(Solid::cube(2, 2, 2, "B"), Vec3{1, 1, 1});
    return {
        {"box cut", false, 2001, [a, b](std::size_t& tally) { counted(BooleanOp::cut, a, b, tally); }},
        plate(3, 41),
        plate(6, 9),
        plate(12, 3),
        box_union(12, 101),
        box_union(48, 15),
        box_union(192, 3),
        {"chamfer 3x2x1 box", false, 201, [](std::size_t&) { workloads::chamfered_box(); }},
        {"chamfer L prism", false, 51, [](std::size_t&) { workloads::chamfered_l_prism(); }},
    };
}

void measure(Workload w, int runs) {
    if (runs > 0) w.runs = runs;
    std::vector<double> t;
    std::size_t polygons = 0;
    filtered::fallbacks() = {};
    for (int i = 0; i < w.runs; ++i) {
        std::size_t tally = 0;
        t.push_back(bench::seconds_of([&] { w.run(tally); }));
        polygons = tally;
    }
    const filtered::Fallbacks fb = filtered::fallbacks();
    std::sort(t.begin(), t.end());
    const double median = t[t.size() / 2];
    const double per_run = w.runs;
    std::printf("%-20s %12.3f ms", w.name.c_str(), median * 1e3);
    if (polygons != 0) {
        std::printf(" %10.0f", median / static_cast<double>(polygons) * 1e9);
    } else {
        std::printf(" %10s", "-");
    }
    std::printf(" %14.1f %14.1f\n", static_cast<double>(fb.side) / per_run, static_cast<double>(fb.area) / per_run);
}

}  // namespace

int main(int argc, char** argv) {
    const bool quick = argc > 1 && std::strcmp(argv[1], "quick") == 0;
    const char* only = argc > 1 && !quick ? argv[1] : nullptr;
    const int runs = argc > 2 ? std::atoi(argv[2]) : 0;
    std::printf("ns/poly: the median over the operands' polygons summed over the Booleans\n");
    std::printf("exact sides, exact areas: decisions per run that the float screens left to exact arithmetic\n");
    std::printf("%-20s %15s %10s %14s %14s\n", "workload", "median", "ns/poly", "exact sides", "exact areas");
    for (const Workload& w : all_workloads()) {
        if (quick && w.slow) continue;
        if (only != nullptr && w.name != only) continue;
        measure(w, runs);
    }
    std::printf("peak resident memory: %.1f MB\n", static_cast<double>(bench::peak_rss_kib()) / 1024.0);
    return 0;
}
