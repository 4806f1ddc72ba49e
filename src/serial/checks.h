// The geometric checks of a decoded solid, exact and fast: a vertex lies on
// its polygon's plane, and a loop turns the way its plane faces. Values that
// fit in 62 bits are checked with 128-bit integer arithmetic; anything larger
// falls back to Rational arithmetic.
#pragma once

#include <cstdint>
#include <optional>

#include "core/plane.h"
#include "core/polygon.h"

namespace corv {

// Integers over one positive common denominator, every part below 2^62 in
// magnitude: (x, y, z, w) stands for the point (x/w, y/w, z/w), and for the
// plane x X + y Y + z Z = w.
struct IntForm {
    std::int64_t x, y, z, w;
};

// The integer form of a point or plane when it fits, else nothing.
std::optional<IntForm> int_form(const Vec3& p);
std::optional<IntForm> int_form(const Plane& plane);

// Whether p lies exactly on the plane; the forms are those of p and the
// plane (when they fit) and only speed the answer up.
bool on_plane(const Plane& plane, const std::optional<IntForm>& plane_form, const Vec3& p,
              const std::optional<IntForm>& point_form);

// An axis along which the plane's normal (non-zero) has a non-zero
// component, the largest one as far as doubles tell.
std::size_t dominant_axis(const Plane& plane);

// Whether the loop of poly (its vertices all on its plane, the plane's normal
// non-zero, k its dominant axis) encloses area and runs counter-clockwise
// seen from the side the plane's normal points to. Uses poly.float_vertices
// as a screen.
bool turns_with_plane(const Polygon& poly, std::size_t k);

}  // namespace corv
