#include "bsp/workspace.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <new>
#include <optional>

#include "core/filtered.h"
#include "core/polygon.h"

namespace corv::bsp {
namespace {

PlaneEntry plane_entry(const Plane& plane) {
    PlaneEntry e{float_plane(plane), &plane};
    int nonzero = 0;
    for (std::size_t i = 0; i < 3; ++i) {
        if (!plane.normal[i].is_zero()) {
            ++nonzero;
            e.axis = static_cast<std::int8_t>(i);
        }
    }
    if (nonzero != 1) e.axis = -1;
    if (e.axis >= 0) e.axis_sign = static_cast<std::int8_t>(plane.normal[static_cast<std::size_t>(e.axis)].sign());
    return e;
}

}  // namespace

void Workspace::clear() {
    points.clear();
    floats.clear();
    made.clear();
    planes.clear();
    levels.clear();
    integer_planes.clear();
    corners.clear();
    boxes.clear();
    fallbacks = {};
}

namespace {

// Room for n items; a vector that must grow at least doubles, so that a
// room reused by a chain of slowly growing Booleans is not moved each time.
template <class T>
void reserve_at_least(std::vector<T>& v, std::size_t n) {
    if (v.capacity() < n) v.reserve(std::max(n, 2 * v.capacity()));
}

}  // namespace

void Workspace::reserve_for(const Solid& a, const Solid& b) {
    // A guess from the polygon counts alone (counting corners would visit
    // every loop once more): most loops have three to six corners, and cuts
    // add points and corners too. The vectors grow if it is short.
    const std::size_t corners_in = 5 * (a.polygons.size() + b.polygons.size());
    reserve_at_least(points, corners_in + corners_in / 2);
    reserve_at_least(floats, corners_in + corners_in / 2);
    reserve_at_least(corners, 2 * corners_in);
    reserve_at_least(planes, a.polygons.size() + b.polygons.size());
    reserve_at_least(boxes, 2 * (a.polygons.size() + b.polygons.size()));
}

std::vector<Face> Workspace::load(const Solid& solid) {
    std::vector<Face> faces;
    faces.reserve(solid.polygons.size());
    // Loops live apart from their polygons: fetching a few polygons ahead
    // hides most of the wait for them.
    constexpr std::size_t kAhead = 8;
    const std::size_t n = solid.polygons.size();
    for (std::size_t i = 0; i < n; ++i) {
        if (i + kAhead < n) solid.polygons[i + kAhead].prefetch_loop();
        if (i + kAhead / 2 < n) solid.polygons[i + kAhead / 2].prefetch_floats();
        const Polygon& p = solid.polygons[i];
        Face f;
        f.first = next_id(corners.size());
        f.count = next_id(p.vertices().size());
        f.plane = next_id(planes.size(), kNoPlaneId) * 2;
        f.source = &p;
        f.flags = kWhole | (p.known_to_have_area() ? kHasArea : 0u);
        planes.push_back(plane_entry(p.plane));
        for (std::size_t k = 0; k < p.vertices().size(); ++k) {
            corners.push_back(next_id(points.size()));
            points.push_back(&p.vertices()[k]);
            floats.push_back(p.float_vertices()[k]);
        }
        f.box = add_box(p.float_low(), p.float_high());
        faces.push_back(f);
    }
    return faces;
}

std::uint32_t Workspace::add_box(const PointId* run, std::uint32_t n) {
    Float3 lo{}, hi{};
    if (n > 0) lo = hi = floats[run[0]];
    for (std::uint32_t k = 1; k < n; ++k) widen(lo, hi, floats[run[k]]);
    return add_box(lo, hi);
}

std::uint32_t Workspace::add_box(const Float3& lo, const Float3& hi) {
    const std::uint32_t id = next_id(boxes.size());
    Box b;
    for (std::size_t i = 0; i < 3; ++i) {
        b.centre[i] = 0.5 * (lo[i] + hi[i]);
        b.half[i] = 0.5 * (hi[i] - lo[i]);
        b.magnitude[i] = std::max(std::fabs(lo[i]), std::fabs(hi[i]));
    }
    boxes.push_back(b);
    return id;
}

PointId Workspace::add_point(Vec3&& p) {
    const PointId id = next_id(points.size());
    made.push_back(std::move(p));
    floats.push_back(to_f3(made.back()));
    points.push_back(&made.back());
    return id;
}

void Workspace::set_axis_level(PlaneEntry& plane) {
    const std::uint32_t id = next_id(levels.size(), PlaneEntry::kNone);
    levels.push_back(plane.plane->offset / plane.plane->normal[static_cast<std::size_t>(plane.axis)]);
    plane.derived = id;
}

void Workspace::set_integer_form(PlaneEntry& plane) {
    const std::optional<IntegerPlane> form = integer_plane(*plane.plane);
    if (!form) {
        plane.derived = PlaneEntry::kNone;
        return;
    }
    const std::uint32_t id = next_id(integer_planes.size(), PlaneEntry::kNone);
    integer_planes.push_back(*form);
    plane.derived = id;
}

int Workspace::exact_side(PlaneEntry& plane, PointId p) {
    ++fallbacks.side;
    if (plane.axis < 0) {
        if (const IntegerPlane* form = integer_form(plane)) {
            if (const std::optional<int> s = integer_side(*form, *points[p])) return *s;
        }
        return plane.plane->side(*points[p]);
    }
    // n*x <=> w is x <=> w/n for n > 0, the other way round for n < 0.
    const auto c = (*points[p])[static_cast<std::size_t>(plane.axis)] <=> axis_level(plane);
    return c < 0 ? -plane.axis_sign : (c > 0 ? plane.axis_sign : 0);
}

int Workspace::facing(std::uint32_t plane_a, std::uint32_t plane_b) {
    const std::uint32_t a = plane_a >> 1;
    const std::uint32_t b = plane_b >> 1;
    const FloatPlane& fa = planes[a].floats;
    const FloatPlane& fb = planes[b].floats;
    int s = filtered::dot_sign({fa[0], fa[1], fa[2]}, {fb[0], fb[1], fb[2]}, 0.0);
    if (s == 0) {
        ++fallbacks.side;
        s = dot(planes[a].plane->normal, planes[b].plane->normal).sign();
    }
    return ((plane_a ^ plane_b) & kNegated) != 0 ? -s : s;
}

bool Workspace::has_area(const Face& f) { return run_has_area(corners.data() + f.first, f.count); }

bool Workspace::run_has_area(const PointId* run, std::uint32_t n) {
    // The area vector only changes sign when the loop is read backwards, so
    // a face's run is tested as stored, whatever its orientation.
    if (n < 3) return false;
    if (filtered::floats_prove_area(n, [&](std::size_t k) -> const Float3& { return floats[run[k]]; })) return true;
    ++fallbacks.area;
    const Vec3& o = *points[run[0]];
    Vec3 s{0, 0, 0};
    for (std::uint32_t i = 1; i + 1 < n; ++i) {
        s = add(s, cross(sub(*points[run[i]], o), sub(*points[run[i + 1]], o)));
    }
    return !(s.x.is_zero() && s.y.is_zero() && s.z.is_zero());
}

Solid Workspace::result(const std::vector<Face>& faces) {
    Solid s;
    s.polygons.reserve(faces.size());
    // The faces come in tree order, their source polygons in any: fetch the
    // polygons and loops a few faces ahead, as loading does.
    constexpr std::size_t kAhead = 8;
    for (std::size_t i = 0; i < faces.size(); ++i) {
        if (i + kAhead < faces.size()) __builtin_prefetch(faces[i + kAhead].source);
        if (i + kAhead / 2 < faces.size()) faces[i + kAhead / 2].source->prefetch_loop();
        const Face& f = faces[i];
        if ((f.flags & kHasArea) == 0 && !has_area(f)) continue;
        if ((f.flags & (kWhole | kReversed)) == kWhole && (f.plane & kNegated) == 0) {
            // An operand polygon kept whole and facing its own way: the same
            // loop, plane and label, so the result shares its loop.
            s.polygons.push_back(*f.source);
            continue;
        }
        std::vector<Vec3> loop;
        std::vector<Float3> loop_floats;
        loop.reserve(f.count);
        loop_floats.reserve(f.count);
        for (std::uint32_t k = 0; k < f.count; ++k) {
            const PointId id = corner(f, k);
            loop.push_back(*points[id]);
            loop_floats.push_back(floats[id]);  // the operands' copies or to_f3 of a made point
        }
        const Plane& plane = this->plane(f.plane);
        s.polygons.push_back(Polygon::assemble(std::move(loop), std::move(loop_floats),
                                               (f.plane & kNegated) != 0 ? plane.negated() : plane, f.source->label,
                                               true));
    }
    filtered::Fallbacks& thread_counts = filtered::fallbacks();
    thread_counts.side += fallbacks.side;
    thread_counts.area += fallbacks.area;
    fallbacks = {};
    return s;
}

}  // namespace corv::bsp
