#include <algorithm>
#include <cstdint>
#include <numeric>
#include <string>
#include <vector>

#include "core/guard.h"
#include "serial/checks.h"
#include "serial/closed.h"
#include "serial/loop_shape.h"
#include "serial/reader.h"
#include "serial/refusal.h"
#include "serial/serial.h"

namespace corv {
namespace {

// The points and planes made once each, with what the checks need of them.
struct Tables {
    std::vector<Vec3> points;
    std::vector<Float3> floats;
    // The points less the solid's first corner, and their doubles: what
    // does not depend on where the solid is (its loops' shapes, its volume)
    // is checked on these, whose doubles stay precise for a solid far from
    // the origin.
    std::vector<Vec3> near;
    std::vector<Float3> near_floats;
    Forms point_forms;
    std::vector<Plane> planes;
    Forms plane_forms;
    std::vector<std::size_t> axes;
    std::vector<int> facing;
};

std::size_t heap_of(const Stored& s, std::span<const std::uint32_t> values) {
    std::size_t n = 0;
    for (std::uint32_t v : values) n += s.value_heap[v];
    return n;
}

// The bytes of big numbers and labels that decoding would copy or compute
// with, counted from the tables before anything is made.
unsigned __int128 expanded_bytes(const Stored& s) {
    std::vector<std::size_t> point_heap, plane_heap;
    for (const auto& p : s.points) point_heap.push_back(heap_of(s, p));
    for (const auto& p : s.planes) plane_heap.push_back(heap_of(s, p));
    unsigned __int128 total = 0;
    for (std::size_t h : point_heap) total += h;
    for (std::size_t h : plane_heap) total += h;
    for (const StoredPolygon& p : s.polygons) {
        total += s.labels[p.label].size() + static_cast<unsigned __int128>(p.count + 1) * plane_heap[p.plane];
        for (std::size_t j = 0; j < p.count; ++j) total += point_heap[s.corners[p.first + j]];
    }
    return total;
}

void check_expansion(const Stored& s) {
    const unsigned __int128 limit =
        std::max<unsigned __int128>(serial_expansion_floor, static_cast<unsigned __int128>(s.size) * serial_expansion);
    const unsigned __int128 needed = expanded_bytes(s);
    if (needed <= limit) return;
    const auto shown = static_cast<std::uint64_t>(std::min<unsigned __int128>(needed, UINT64_MAX));
    corrupt("the solid would hold " + std::to_string(shown) + " bytes of large numbers and labels, more than " +
            std::to_string(serial_expansion) + " times the " + std::to_string(s.size) +
            " bytes stored (and more than " + std::to_string(serial_expansion_floor) +
            "): large values are used by very many points or polygons; a solid this far from the origin "
            "should be moved nearer to it before it is saved");
}

Tables make_tables(const Stored& s) {
    Tables t;
    t.points.reserve(s.points.size());
    t.floats.reserve(s.points.size());
    for (const auto& p : s.points) {
        t.points.push_back(Vec3{s.values[p[0]], s.values[p[1]], s.values[p[2]]});
        t.floats.push_back(to_f3(t.points.back()));
    }
    t.point_forms = point_forms(t.points);
    const Vec3 origin = t.points[s.corners[0]];
    for (const Vec3& p : t.points) {
        t.near.push_back(sub(p, origin));
        t.near_floats.push_back(to_f3(t.near.back()));
    }
    for (const auto& p : s.planes) {
        t.planes.push_back(Plane{Vec3{s.values[p[0]], s.values[p[1]], s.values[p[2]]}, s.values[p[3]]});
        t.axes.push_back(dominant_axis(t.planes.back()));
        t.facing.push_back(t.planes.back().normal[t.axes.back()].sign());
    }
    t.plane_forms = plane_forms(t.planes);
    return t;
}

std::string vertex_words(const Stored& s, const Tables& t, const StoredPolygon& p, std::size_t position) {
    const std::uint32_t i = s.corners[p.first + position % p.count];
    return "vertex " + std::to_string(position % p.count) + " (" + point_words(i, t.points[i]) + ")";
}

std::string side_words(const Stored& s, const Tables& t, const StoredPolygon& p, std::size_t position) {
    return "its side from " + vertex_words(s, t, p, position) + " to " + vertex_words(s, t, p, position + 1);
}

[[noreturn]] void refuse_loop(const Stored& s, const Tables& t, std::size_t k, const LoopFault& f) {
    const StoredPolygon& p = s.polygons[k];
    const std::string where = "polygon " + std::to_string(k) + ": ";
    switch (f.kind) {
        case LoopFault::folds_back:
            corrupt(where + side_words(s, t, p, f.a) +
                    " and the next run back over each other; a loop must enclose area");
        case LoopFault::sides_meet:
            corrupt(where + side_words(s, t, p, f.a) + " and " + side_words(s, t, p, f.b) +
                    " cross or touch; a loop must run round its area once without meeting itself");
        case LoopFault::winds:
            corrupt(where + "the loop runs " + std::to_string(f.a) + " times round; it must run round once");
        case LoopFault::turns_against:
            corrupt(where +
                    "the loop turns clockwise seen from the side its plane faces; it must turn counter-clockwise");
    }
    corrupt(where + "the loop is not simple");
}

// Each polygon on its own: distinct corners, all on its plane, a loop that
// runs once round counter-clockwise.
void check_polygons(const Stored& s, const Tables& t) {
    std::vector<std::uint32_t> seen_in(s.points.size(), UINT32_MAX), seen_at(s.points.size(), 0);
    for (std::size_t k = 0; k < s.polygons.size(); ++k) {
        if (k % 1024 == 0) guard::progress("load", k, s.polygons.size());
        const StoredPolygon& p = s.polygons[k];
        const std::span<const std::uint32_t> loop(s.corners.data() + p.first, p.count);
        for (std::size_t j = 0; j < p.count; ++j) {
            const std::uint32_t i = loop[j];
            if (seen_in[i] == k) {
                corrupt("polygon " + std::to_string(k) + ": vertices " + std::to_string(seen_at[i]) + " and " +
                        std::to_string(j) + " are both " + point_words(i, t.points[i]) +
                        "; a loop visits each corner once");
            }
            seen_in[i] = static_cast<std::uint32_t>(k);
            seen_at[i] = static_cast<std::uint32_t>(j);
            if (!on_plane(t.plane_forms, p.plane, t.point_forms, i)) {
                corrupt("polygon " + std::to_string(k) + ": " + vertex_words(s, t, p, j) + " is off its plane " +
                        std::to_string(p.plane) + "; every vertex must lie exactly on its polygon's plane");
            }
        }
        const LoopView view{loop, t.near, t.near_floats, t.axes[p.plane], t.facing[p.plane]};
        if (auto fault = loop_fault(view)) refuse_loop(s, t, k, *fault);
    }
}

// Refuses two polygons with the same loop (the same points in the same
// cyclic order): loops compared from their lowest point index.
void check_repeats(const Stored& s) {
    std::vector<std::size_t> start(s.polygons.size());
    for (std::size_t k = 0; k < s.polygons.size(); ++k) {
        const StoredPolygon& p = s.polygons[k];
        const auto* first = s.corners.data() + p.first;
        start[k] = static_cast<std::size_t>(std::min_element(first, first + p.count) - first);
    }
    auto at = [&](std::size_t k, std::size_t j) {
        const StoredPolygon& p = s.polygons[k];
        return s.corners[p.first + (start[k] + j) % p.count];
    };
    auto compare = [&](std::size_t a, std::size_t b) {
        const std::size_t na = s.polygons[a].count, nb = s.polygons[b].count;
        if (na != nb) return na < nb ? -1 : 1;
        for (std::size_t j = 0; j < na; ++j) {
            if (at(a, j) != at(b, j)) return at(a, j) < at(b, j) ? -1 : 1;
        }
        return 0;
    };
    std::vector<std::size_t> order(s.polygons.size());
    std::iota(order.begin(), order.end(), std::size_t{0});
    std::sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) {
        const int c = compare(a, b);
        return c != 0 ? c < 0 : a < b;
    });
    for (std::size_t i = 0; i + 1 < order.size(); ++i) {
        if (compare(order[i], order[i + 1]) == 0) {
            corrupt("polygons " + std::to_string(order[i]) + " and " + std::to_string(order[i + 1]) +
                    " have the same loop; a solid holds each face once");
        }
    }
}

void check_closed(const Stored& s, const Tables& t) {
    const auto side = unmatched_side(s, t.points);
    if (!side) return;
    const StoredPolygon& p = s.polygons[side->polygon];
    corrupt("polygon " + std::to_string(side->polygon) + ": " + side_words(s, t, p, side->position) +
            " is not matched by sides running the other way; the surface is open there or turned against itself");
}

Solid assemble(const Stored& s, const Tables& t) {
    Solid solid;
    solid.polygons.reserve(s.polygons.size());
    for (const StoredPolygon& p : s.polygons) {
        std::vector<Vec3> loop;
        std::vector<Float3> floats;
        loop.reserve(p.count);
        floats.reserve(p.count);
        for (std::size_t j = 0; j < p.count; ++j) {
            loop.push_back(t.points[s.corners[p.first + j]]);
            floats.push_back(t.floats[s.corners[p.first + j]]);
        }
        solid.polygons.push_back(
            Polygon::assemble(std::move(loop), std::move(floats), t.planes[p.plane], s.labels[p.label], true));
        guard::poll(static_cast<std::int64_t>(p.count));
    }
    return solid;
}

void check_volume(const Stored& s, const Tables& t) {
    if (volume_sign(s, t.near, t.near_floats) < 0) {
        corrupt("the polygons enclose a negative volume: the solid is turned inside out (its faces point inwards)");
    }
}

}  // namespace

Solid decode(std::span<const std::uint8_t> bytes) {
    const Stored s = read_stored(bytes);
    check_expansion(s);
    if (s.polygons.empty()) return Solid{};
    const Tables t = make_tables(s);
    check_polygons(s, t);
    check_repeats(s);
    check_closed(s, t);
    check_volume(s, t);
    return assemble(s, t);
}

}  // namespace corv
