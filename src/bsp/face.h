// Face: one polygon of a Boolean in progress, as a small record over the
// workspace's corners, planes and boxes.
#pragma once

#include <cstdint>

namespace corv {
struct Polygon;
}

namespace corv::bsp {

// One polygon of a Boolean in progress.
struct Face {
    std::uint32_t first = 0;  // its first corner in Workspace::corners
    std::uint32_t count = 0;  // corners in its loop
    // Plane id times two, plus one when the face lies on the negated plane.
    std::uint32_t plane = 0;
    std::uint32_t flags = 0;
    std::uint32_t box = 0;            // its corners' double bounding box in Workspace::boxes
    const Polygon* source = nullptr;  // the operand polygon it is or was cut from (label, plane)
};

// The loop is read from its last corner to its first: a flipped face.
inline constexpr std::uint32_t kReversed = 1;
// The face is known to have area (a piece that passed the area test, or an
// operand polygon already known to have it).
inline constexpr std::uint32_t kHasArea = 2;
// The face is its source polygon, never cut (its loop may have been flipped).
inline constexpr std::uint32_t kWhole = 4;

// A plane reference's orientation bit.
inline constexpr std::uint32_t kNegated = 1;

// A face seen from the other side: the loop runs backwards and the plane is
// negated. No corner moves.
inline void flip(Face& f) {
    f.flags ^= kReversed;
    f.plane ^= kNegated;
}

}  // namespace corv::bsp
