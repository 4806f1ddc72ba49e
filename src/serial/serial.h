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
//            varint count, then the distinct labels: varint byte count, the bytes
//            varint count, then the distinct points: three varint value indices
//            varint count, then the distinct planes: four varint value indices
//              (normal x, y, z and offset, as Plane holds them)
//            varint count, then the polygons: varint plane index, varint label
//              index, varint vertex count, that many varint point indices
//   trailer  checksum64 of header and body (8 bytes)
//
// The checksum finds accidents (a flipped bit, a cut or padded file), not
// edits: anyone can recompute it over bytes they have changed. So decode
// checks the solid itself, and trusts nothing:
// - the form: every length against the bytes left before anything is
//   allocated for it, every index against its table; every fraction in
//   lowest terms with a positive denominator; no table holding an entry
//   twice; no plane without a normal;
// - the size: the bytes of large numbers and labels the solid would hold or
//   compute with (each point's numbers once per point and once per vertex
//   that uses it, each plane's numbers once per plane, once per polygon and
//   once per vertex checked against it, each label once per polygon) may be
//   at most serial_expansion times the stored bytes, or
//   serial_expansion_floor, whichever is larger. This refuses, before
//   anything is built, data where one huge number is used by very many
//   points, which would otherwise take memory and time out of all
//   proportion to its size; solids of ordinary numbers (which Rational
//   keeps inline) count nothing, and a box whose every coordinate has
//   thousands of digits is far inside the floor;
// - each polygon: at least three vertices, no point twice, every vertex
//   exactly on its plane, and a loop that runs once round its area without
//   crossing or touching itself, counter-clockwise seen from the side its
//   plane faces;
// - the solid: no two polygons with the same loop; every side matched,
//   stretch by stretch along its line, by sides running the other way (as
//   watertight_ok counts it, so T-junctions and solids touching themselves
//   along an edge or at a point are fine); no negative volume (a solid
//   turned inside out). A solid with no polygons is the empty solid.
//   Whether faces pass through each other (parts that overlap) is not
//   looked at: that takes the plane-by-plane sweeps of mesh_of, which
//   refuses some such solids and costs more than linear time on others.
// Anything else is a Panic of kind corrupt_data that names the polygon,
// vertex and point at fault by index. Each check is done once per distinct
// point or plane where it can be (exact integer forms, with 128-bit machine
// arithmetic for numbers that fit), so decoding takes time and memory in
// proportion to the bytes, up to the logarithmic factors of sorting.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "core/solid.h"

namespace corv {

inline constexpr std::uint16_t serial_version = 1;

// The bound on the large numbers and labels a stored solid may expand to,
// as a multiple of its stored bytes, and the floor below which any size is
// accepted.
inline constexpr std::uint64_t serial_expansion = 32;
inline constexpr std::uint64_t serial_expansion_floor = std::uint64_t{32} << 20;

std::vector<std::uint8_t> encode(const Solid& solid);
Solid decode(std::span<const std::uint8_t> bytes);

// A 64-bit checksum of the bytes: words of eight bytes are mixed in one at a
// time by steps that are each one-to-one, so any change confined to one word
// always changes the result.
std::uint64_t checksum64(std::span<const std::uint8_t> bytes);

}  // namespace corv
