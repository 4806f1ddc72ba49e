// The stored form read into its tables, before any geometry is looked at:
// every value, label, point and plane once, and each polygon as indices
// into them, so nothing is copied per use.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "core/rational.h"

namespace corv {

struct StoredPolygon {
    std::uint32_t plane, label;
    std::size_t first, count;  // its loop: corners[first] .. corners[first + count - 1]
};

struct Stored {
    std::size_t size = 0;  // bytes of the whole stored form, header and checksum included
    std::vector<Rational> values;
    // Bytes of numerator and denominator of each value held outside a
    // Rational (0 for values small enough to be kept inline).
    std::vector<std::size_t> value_heap;
    std::vector<std::string> labels;
    std::vector<std::array<std::uint32_t, 3>> points;  // value indices of x, y, z
    std::vector<std::array<std::uint32_t, 4>> planes;  // value indices of the normal's x, y, z and the offset
    std::vector<StoredPolygon> polygons;
    std::vector<std::uint32_t> corners;  // point indices, polygon after polygon
};

// Checks the header, length and checksum and reads the body. Every fraction
// is in lowest terms with a positive denominator, and every table holds
// distinct entries, so equal indices are exactly equal values, points and
// planes. Throws Panic (corrupt_data) naming what is wrong.
Stored read_stored(std::span<const std::uint8_t> bytes);

}  // namespace corv
