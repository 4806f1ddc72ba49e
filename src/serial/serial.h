// The stored form of a solid: its exact polygon list as bytes, for pickles
// and files. Nothing is recomputed on load: loops, planes (as stored, not
// renormalised) and labels come back as they were, so a decoded solid is
// identical to the encoded one, and encoding it again gives the same bytes.
//
// Layout (integers little-endian; "varint" is an unsigned LEB128 of at most
// ten bytes):
//   header   "CORVSD" (6 bytes), version (2 bytes, now 1), body length (8 bytes)
//   body     varint count, then the distinct coordinate and plane values:
//              tag 0: zigzag varint numerator, varint denominator (both < 2^63)
//              tag 1 or 2 (positive or negative): varint byte count and the
//              magnitude of the numerator, then the same for the denominator
//            varint count, then the labels: varint byte count, the bytes
//            varint count, then the points: three varint value indices
//            varint count, then the planes: four varint value indices
//              (normal x, y, z and offset, as Plane holds them)
//            varint count, then the polygons: varint plane index, varint label
//              index, varint vertex count, that many varint point indices
//   trailer  checksum64 of header and body (8 bytes)
//
// decode trusts nothing: every length is checked against the bytes left
// before anything is allocated for it, every index against its table, every
// fraction must be in lowest terms with a positive denominator, every plane
// must have a non-zero normal, every polygon at least three vertices, all
// lying exactly on its plane, and a loop that turns the way its plane faces
// (so no polygon is degenerate). Anything else is a Panic of kind
// corrupt_data. Whatever decodes is a well-formed solid.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "core/solid.h"

namespace corv {

inline constexpr std::uint16_t serial_version = 1;

std::vector<std::uint8_t> encode(const Solid& solid);
Solid decode(std::span<const std::uint8_t> bytes);

// A 64-bit checksum of the bytes: words of eight bytes are mixed in one at a
// time by steps that are each one-to-one, so any change confined to one word
// always changes the result.
std::uint64_t checksum64(std::span<const std::uint8_t> bytes);

}  // namespace corv
