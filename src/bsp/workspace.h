// Workspace: everything one Boolean works on. The operands' points are read
// in place (they outlive the call), points made by cuts are kept here, and a
// polygon is a small record (a Face) naming a run of corners, a plane, a
// label and two flags, so that sorting, moving and flipping polygons never
// copies a coordinate. The result is written out once, at the end.
#pragma once

#include <cstdint>
#include <deque>
#include <new>
#include <vector>

#include "bsp/face.h"
#include "bsp/walk_scratch.h"
#include "core/filtered.h"
#include "core/integer_plane.h"
#include "core/solid.h"
#include "core/split.h"

namespace corv::bsp {

using PointId = std::uint32_t;

// Ids are 32-bit: size is the count so far, and an id at or above limit
// (kept free for markers) throws std::bad_alloc, as a Boolean that large
// could not fit in memory anyway.
inline std::uint32_t next_id(std::size_t size, std::uint32_t limit = 0xfffffffeu) {
    if (size >= limit) throw std::bad_alloc();
    return static_cast<std::uint32_t>(size);
}
// Plane ids are doubled into plane references: they stay below 2^31 - 1, so
// no reference reaches the tree's no-plane marker.
inline constexpr std::uint32_t kNoPlaneId = 0x7fffffffu;

// A loop's double bounding box, as the box screen reads it: centre,
// half-widths and the largest magnitude per axis.
struct Box {
    Float3 centre, half, magnitude;
};

// A plane as the sorting reads it: its doubles first, in one cache line with
// the rest (48 bytes; the box screen takes |normal| with fabs). What exact
// tests derive from the plane is computed on first use and kept in the
// workspace: for a plane along an axis (normal zero but for component axis)
// its level = offset / normal[axis], so that the exact side of a point is one
// comparison, sign(normal[axis]) * (p[axis] <=> level); for any other plane
// its integer form, for sides and crossing points in machine integers.
struct PlaneEntry {
    FloatPlane floats;  // normal and offset as doubles
    const Plane* plane;
    // Index into Workspace::levels (along an axis) or Workspace::integer_planes.
    std::uint32_t derived = kNotYet;
    std::int8_t axis = -1;      // -1: not along an axis
    std::int8_t axis_sign = 0;  // the sign of normal[axis]

    static constexpr std::uint32_t kNotYet = 0xffffffffu;
    static constexpr std::uint32_t kNone = 0xfffffffeu;  // no integer form (values too big)
};
static_assert(sizeof(PlaneEntry) == 48);

struct Workspace {
    std::vector<const Vec3*> points;           // exact points by id
    std::vector<Float3> floats;                // their double copies, same ids
    std::deque<Vec3> made;                     // the points that cuts made (stable addresses)
    std::vector<PlaneEntry> planes;            // by plane id (the operands' planes, read in place)
    std::vector<Rational> levels;              // the levels of planes along an axis, once computed
    std::vector<IntegerPlane> integer_planes;  // the integer forms of other planes, once computed
    std::vector<PointId> corners;              // the loops of all faces, run after run
    std::vector<Box> boxes;                    // by box id, one per loop (flipping keeps it)
    filtered::Fallbacks fallbacks;             // exact decisions of this call, added to the thread's at the end
    WalkScratch scratch;                       // shared by every walk of the call

    // Forgets every point, plane, corner and box (and the operands they were
    // read from), keeping the arrays' room for the next Boolean.
    void clear();
    // The faces of an operand, in order, as records over its points.
    // The solid must outlive the workspace: its points are read in place.
    std::vector<Face> load(const Solid& solid);
    std::vector<Face> load(Solid&& solid) = delete;
    // Room for the points, corners and planes of two operands and their cuts.
    void reserve_for(const Solid& a, const Solid& b);
    // A new point (a cut's crossing point) and its id.
    PointId add_point(Vec3&& p);
    // The id of a new box around the n points of a run.
    std::uint32_t add_box(const PointId* run, std::uint32_t n);
    // The id of a new box with the given corners (a loop's known bounds).
    std::uint32_t add_box(const Float3& lo, const Float3& hi);

    // Corner k of the face's loop as the face currently runs.
    PointId corner(const Face& f, std::uint32_t k) const {
        return corners[f.first + ((f.flags & kReversed) != 0 ? f.count - 1 - k : k)];
    }
    const Vec3& point(PointId id) const { return *points[id]; }

    // Exact side of a point against a plane (by id, not negated).
    int exact_side(PlaneEntry& plane, PointId p);
    // offset / normal[axis] of a plane along an axis, computed once.
    const Rational& axis_level(PlaneEntry& plane) {
        if (plane.derived == PlaneEntry::kNotYet) set_axis_level(plane);
        return levels[plane.derived];
    }
    void set_axis_level(PlaneEntry& plane);
    // The integer form of a plane not along an axis, or null when it has none.
    const IntegerPlane* integer_form(PlaneEntry& plane) {
        if (plane.derived == PlaneEntry::kNotYet) set_integer_form(plane);
        return plane.derived == PlaneEntry::kNone ? nullptr : &integer_planes[plane.derived];
    }
    void set_integer_form(PlaneEntry& plane);
    const Plane& plane(std::uint32_t plane_ref) const { return *planes[plane_ref >> 1].plane; }
    // The sign of the dot product of two referenced planes' normals.
    int facing(std::uint32_t plane_a, std::uint32_t plane_b);
    // Whether the face's loop encloses area, exactly (the polygon area test).
    bool has_area(const Face& f);
    // The same for a loop given as n point ids.
    bool run_has_area(const PointId* run, std::uint32_t n);

    // The result: the faces in order as polygons, those without area dropped.
    Solid result(const std::vector<Face>& faces);
};

}  // namespace corv::bsp
