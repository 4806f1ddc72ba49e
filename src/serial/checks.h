// Exact integer forms of the stored points and planes, made once per
// distinct point or plane, so that checking a vertex against its polygon's
// plane is one integer dot product per use: with 128-bit machine integers
// when every part fits in 62 bits, with GMP integers otherwise.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "core/integer.h"
#include "core/plane.h"
#include "serial/reader.h"

namespace corv {

// Integers over one positive common denominator: (x, y, z, w) stands for
// the point (x/w, y/w, z/w), and for the plane x X + y Y + z Z = w.
struct IntForm {
    std::int64_t x, y, z, w;
};

// The forms of a table of points or planes.
struct Forms {
    static constexpr std::uint32_t kSmall = UINT32_MAX;
    std::vector<IntForm> small;               // per entry, where slot is kSmall
    std::vector<std::uint32_t> slot;          // kSmall, or the entry's place in big
    std::vector<std::array<Integer, 4>> big;  // the same form in GMP integers
};

Forms point_forms(const std::vector<Vec3>& points);
Forms plane_forms(const std::vector<Plane>& planes);

// Whether point i (of points) lies exactly on plane k (of planes).
bool on_plane(const Forms& planes, std::size_t k, const Forms& points, std::size_t i);

// The sign of the volume the stored loops enclose, from the points (one per
// stored point, with their doubles): screened in doubles, exact when the
// doubles cannot tell. The points may be moved by any one offset.
int volume_sign(const Stored& s, const std::vector<Vec3>& points, const std::vector<Float3>& floats);

// An axis along which the plane's normal (non-zero) has a non-zero
// component, the largest one as far as doubles tell.
std::size_t dominant_axis(const Plane& plane);

}  // namespace corv
