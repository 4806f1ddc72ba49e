// The operands of one Boolean as a single list of facets: every usable
// input polygon with its operand, the group it counts for, its float box and
// the vertex triple that the float plane screen uses.
#pragma once

#include <array>
#include <cstdint>
#include <deque>
#include <span>
#include <vector>

#include "core/solid.h"

namespace corv::local {

struct Facet {
    const Polygon* polygon;               // the input polygon, its repaired copy or a merged one
    std::uint32_t operand;                // index of the operand it came from
    std::uint8_t group;                   // 0 or 1: which side of the combination it counts for
    std::int8_t nz;                       // sign of the plane normal's z component
    std::array<std::uint32_t, 3> triple;  // fan triangle with the largest float area
    Float3 lo, hi;                        // box of the float copies of the vertices
};

struct FacetSoup {
    std::vector<Facet> facets;
    std::deque<Polygon> repaired;  // repaired copies and merged coplanar facets
};

// Facets of every operand, in operand order, then polygon order. Polygons
// without area are left out; a polygon whose stored plane is zero (a
// transform of a loop starting with three collinear points) gets the plane
// of its vector area. Adjacent coplanar facets of an operand are merged
// into convex polygons (local/merge_coplanar.h). The operands must outlive
// the soup.
FacetSoup make_soup(std::span<const Solid* const> operands, std::span<const std::uint8_t> groups);

// Side of p against the facet's plane: +1 in front, 0 on it, -1 behind.
// Screened with the facet's float triple (for a convex loop its orientation
// agrees with the stored plane); exact against the stored plane otherwise.
int facet_side(const Facet& f, const Vec3& p, const Float3& fp);

// Whether the float boxes of two facets meet (closed). Rounding is
// monotone, so exact boxes that meet always pass.
bool boxes_meet(const Facet& a, const Facet& b);

}  // namespace corv::local
