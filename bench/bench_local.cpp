// Timings of the localized engine, side by side with the BSP engine in one
// run (medians): icosphere cuts at four sizes with the fitted cost exponent,
// the 144 holes of the 12 x 12 plate drilled in one pass, and the plates and
// box unions of the workloads. `bench_local quick` skips the slow BSP runs.
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "bench_support.h"
#include "bsp/boolean.h"
#include "canonical/watertight.h"
#include "core/measures.h"
#include "local/local_boolean.h"
#include "mesh/same_shape.h"
#include "support/meshes.h"
#include "support/workloads.h"

namespace {

using namespace corv;
using bench::median_seconds;
using bench::peak_rss_kib;
using bench::seconds_of;

// Least-squares slope of log(time) against log(size).
double exponent(const std::vector<double>& n, const std::vector<double>& t) {
    double sx = 0, sy = 0, sxx = 0, sxy = 0;
    const double k = static_cast<double>(n.size());
    for (std::size_t i = 0; i < n.size(); ++i) {
        const double x = std::log(n[i]), y = std::log(t[i]);
        sx += x;
        sy += y;
        sxx += x * x;
        sxy += x * y;
    }
    return (k * sxy - sx * sy) / (k * sxx - sx * sx);
}

void spheres() {
    std::printf("icosphere cut by a copy moved by (1/3, 1/5, 1/7)\n");
    std::printf("%12s %12s %12s %12s %14s %12s\n", "triangles", "polygons out", "local ms", "us/triangle", "bsp ms",
                "watertight");
    const Vec3 move{Rational(1) / Rational(3), Rational(1) / Rational(5), Rational(1) / Rational(7)};
    std::vector<double> sizes, times;
    for (int sub = 3; sub <= 6; ++sub) {
        const meshes::Mesh m = meshes::icosphere(sub);
        const Solid a = meshes::to_solid(m, "a");
        const Solid b = meshes::to_solid(m, "b", move);
        Solid r;
        const int runs = sub <= 4 ? 7 : (sub == 5 ? 5 : 3);
        const double t = median_seconds([&] { r = local_boolean(BooleanOp::cut, a, b); }, runs);
        std::string bsp = "-";
        if (sub == 3) {
            Solid rb;
            const double tb = median_seconds([&] { rb = boolean(BooleanOp::cut, a, b); }, 3);
            bsp = std::to_string(tb * 1e3).substr(0, 8);
            if (volume6(rb.polygons) != volume6(r.polygons)) bsp += " VOLUME DIFFERS";
        }
        const double tri = static_cast<double>(m.triangles.size());
        std::printf("%12zu %12zu %12.1f %12.2f %14s %12s\n", m.triangles.size(), r.polygons.size(), t * 1e3,
                    t * 1e6 / tri, bsp.c_str(), watertight_ok(r) ? "yes" : "NO");
        std::fflush(stdout);
        sizes.push_back(tri);
        times.push_back(t);
    }
    std::printf("cost exponent over 1,280 .. 81,920 triangles: %.2f\n", exponent(sizes, times));
    std::printf("peak resident memory so far: %.1f MiB\n\n", static_cast<double>(peak_rss_kib()) / 1024.0);
}

void plates(bool quick) {
    std::printf("%-34s %12s %12s %10s %10s\n", "plates and unions", "local ms", "bsp ms", "polygons", "same");
    for (int k : {3, 6, 12}) {
        const Solid blank = workloads::plate_blank(k);
        const std::vector<Solid> holes = workloads::plate_holes(k);
        Solid one_pass, chained, bsp;
        const double t_all = median_seconds([&] { one_pass = local_cut_all(blank, holes); }, 5);
        const double t_chain = median_seconds(
            [&] {
                chained = blank;
                for (const Solid& h : holes) chained = local_boolean(BooleanOp::cut, chained, h);
            },
            k == 12 ? 1 : 3);
        std::string tb = "-", same = "-";
        if (k < 12 || !quick) {
            tb = std::to_string(seconds_of([&] { bsp = workloads::plate(k); }) * 1e3).substr(0, 8);
            same = same_shape(one_pass, bsp) && same_shape(chained, bsp) ? "yes" : "NO";
        }
        std::printf("%-34s %12.1f %12s %10zu %10s\n", ("plate " + std::to_string(k) + " cut_all").c_str(), t_all * 1e3,
                    tb.c_str(), one_pass.polygons.size(), same.c_str());
        std::printf("%-34s %12.1f %12s %10zu %10s\n", ("plate " + std::to_string(k) + " one cut per hole").c_str(),
                    t_chain * 1e3, "", chained.polygons.size(), "");
        std::fflush(stdout);
    }
    for (int n : {12, 48, 192}) {
        const std::vector<Solid> boxes = workloads::shifted_boxes(n);
        Solid all, chained, bsp;
        const double t_all = median_seconds([&] { all = local_union_all(boxes); }, 5);
        const double t_chain = median_seconds(
            [&] {
                chained = boxes[0];
                for (int i = 1; i < n; ++i)
                    chained = local_boolean(BooleanOp::union_, chained, boxes[static_cast<std::size_t>(i)]);
            },
            3);
        std::string tb = "-", same = "-";
        if (n < 192 || !quick) {
            tb = std::to_string(seconds_of([&] { bsp = workloads::box_union(n); }) * 1e3).substr(0, 8);
            same = same_shape(all, bsp) && same_shape(chained, bsp) ? "yes" : "NO";
        }
        std::printf("%-34s %12.1f %12s %10zu %10s\n", ("union of " + std::to_string(n) + " boxes, union_all").c_str(),
                    t_all * 1e3, tb.c_str(), all.polygons.size(), same.c_str());
        std::printf("%-34s %12.1f %12s %10zu %10s\n", ("union of " + std::to_string(n) + " boxes, chained").c_str(),
                    t_chain * 1e3, "", chained.polygons.size(), "");
        std::fflush(stdout);
    }
}

}  // namespace

int main(int argc, char** argv) {
    const bool quick = argc > 1 && std::strcmp(argv[1], "quick") == 0;
    const bool only_spheres = argc > 1 && std::strcmp(argv[1], "spheres") == 0;
    spheres();
    if (!only_spheres) plates(quick);
    return 0;
}
