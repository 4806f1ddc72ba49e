// The one place that reads a Solid's polygons: equal points are welded to one
// index by exact value, and the rest of the mesher works on this indexed
// polygon soup.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "core/plane.h"
#include "core/solid.h"

namespace corv::mesh {

struct SoupPolygon {
    std::uint32_t begin, end;  // its loop: Soup::loops[begin, end), no two consecutive entries equal
    Plane plane;               // the plane the polygon was given with
    std::uint32_t label;       // index into Soup::labels
};

struct Soup {
    std::vector<Vec3> points;          // distinct exact points
    std::vector<Float3> fpoints;       // their correctly rounded doubles
    std::vector<std::uint32_t> loops;  // point indices of all loops, one after another
    std::vector<SoupPolygon> polygons;
    std::vector<std::string> labels;  // distinct labels, in order of first use
};

// Polygons whose loops close up to fewer than three points are left out.
Soup soup_of(const Solid& solid);

}  // namespace corv::mesh
