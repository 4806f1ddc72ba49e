// Medians of meshing the drilled plates, of importing an icosphere of
// 20,480 triangles, and of importing a torus of 20,000 with the share of
// the self-crossing check in it. Run: build/bench_mesh [runs]
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <unordered_set>
#include <vector>

#include "core/exact_double.h"
#include "mesh/from_triangles.h"
#include "mesh/mesh_of.h"
#include "mesh/self_crossing.h"
#include "support/meshes.h"
#include "support/workloads.h"

namespace {

using namespace corv;

// `untimed` runs before each timed call: it drops the previous result, so
// freeing it is not counted.
double median_ms(int runs, const std::function<void()>& f, const std::function<void()>& untimed = [] {}) {
    std::vector<double> times;
    for (int i = 0; i < runs; ++i) {
        untimed();
        auto t0 = std::chrono::steady_clock::now();
        f();
        times.push_back(std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - t0).count());
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

std::size_t distinct_points(const Solid& s) {
    std::unordered_set<std::string> seen;
    for (const Polygon& p : s.polygons) {
        for (const Vec3& v : p.vertices()) seen.insert(point_text(v));
    }
    return seen.size();
}

void row(const char* name, double ms, double target, const std::string& sizes) {
    std::printf("%-24s %9.2f ms  (target <= %5.0f ms, %s)  %s\n", name, ms, target, ms <= target ? "ok" : "OVER",
                sizes.c_str());
}

}  // namespace

int main(int argc, char** argv) {
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 21;
    std::printf("medians of %d runs\n", runs);
    for (auto [k, target] : {std::pair{3, 10.0}, std::pair{6, 75.0}}) {
        const Solid plate = workloads::plate(k);
        TriMesh m;
        double ms = median_ms(runs, [&] { m = mesh_of(plate); }, [&] { m = TriMesh{}; });
        char sizes[160];
        std::snprintf(sizes, sizeof sizes, "%zu polygons, %zu distinct points -> %zu triangles, %zu vertices",
                      plate.polygons.size(), distinct_points(plate), m.triangles.size(), m.vertices.size());
        char name[32];
        std::snprintf(name, sizeof name, "mesh_of plate(%d)", k);
        row(name, ms, target, sizes);
    }

    const meshes::Mesh sphere = meshes::icosphere(5);
    std::vector<Vec3> exact;
    double convert = median_ms(
        runs,
        [&] {
            for (const auto& p : sphere.points)
                exact.push_back({from_double(p[0]), from_double(p[1]), from_double(p[2])});
        },
        [&] { exact.clear(); });
    Solid ball;
    double build =
        median_ms(runs, [&] { ball = solid_from_triangles(exact, sphere.triangles, "ball"); }, [&] { ball = Solid{}; });
    char sizes[96];
    std::snprintf(sizes, sizeof sizes, "%zu points, %zu triangles", sphere.points.size(), sphere.triangles.size());
    row("from_double (points)", convert, 50.0, sizes);
    row("solid_from_triangles", build, 50.0, sizes);
    row("import (both)", convert + build, 50.0, sizes);

    // The torus's check alone: its float screens, then the pair search and
    // the exact tests (no pair touches, so nothing follows them).
    const meshes::Mesh ring = meshes::torus(2, 1, 100, 100);
    std::vector<Vec3> ring_points;
    std::vector<Float3> ring_floats;
    std::vector<Corners> ring_corners(ring.triangles.begin(), ring.triangles.end());
    for (const auto& p : ring.points) {
        ring_points.push_back({from_double(p[0]), from_double(p[1]), from_double(p[2])});
        ring_floats.push_back(p);
    }
    Solid torus;
    const double whole = median_ms(
        runs, [&] { torus = solid_from_triangles(ring_points, ring.triangles, "torus"); }, [&] { torus = Solid{}; });
    const double check = median_ms(runs, [&] {
        const std::vector<ScreenedTriangle> screened = screened_triangles(ring_floats, ring_corners);
        if (!mesh_contacts(MeshView{ring_points, ring_floats, torus.polygons, screened}, true).empty()) std::abort();
    });
    std::snprintf(sizes, sizeof sizes, "%zu triangles", ring.triangles.size());
    row("torus import", whole, 100.0, sizes);
    // from_mesh adds reading the arrays and making the exact points: compare
    // the check with its time (bench_mesh.py) too.
    std::printf("%-24s %9.2f ms  (%.0f %% of the import)\n", "its self-crossing check", check, 100 * check / whole);
    return 0;
}
