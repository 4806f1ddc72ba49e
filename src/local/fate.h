// What becomes of a piece of facet: the combination of the two facet groups
// is evaluated just in front of and just behind it; where the two differ
// the piece is part of the result's boundary, facing away from the inside.
#pragma once

#include <cstdint>

#include "local/winding.h"

namespace corv::local {

// How the groups combine.
enum class Combine : std::uint8_t { union_, intersect, cut };

enum class Fate : std::uint8_t { drop, keep, flip };

// A point is inside a group where the group's winding number is positive.
inline bool combined(Combine c, int w0, int w1) {
    const bool a = w0 > 0, b = w1 > 0;
    switch (c) {
        case Combine::union_: return a || b;
        case Combine::intersect: return a && b;
        case Combine::cut: return a && !b;
    }
    return false;
}

inline Fate fate_of(const Windings& w, Combine c) {
    const bool front = combined(c, w.front[0], w.front[1]);
    const bool back = combined(c, w.back[0], w.back[1]);
    if (front == back) return Fate::drop;
    return back ? Fate::keep : Fate::flip;
}

}  // namespace corv::local
