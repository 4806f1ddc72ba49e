// Exact 2-D predicates on points of one plane, seen along the axis the plane
// faces most: the plane's points are read through two of their coordinates,
// (u, v), chosen so that counter-clockwise in (u, v) is counter-clockwise
// seen from the tip of the plane's normal.
#pragma once

#include <cstdint>
#include <vector>

#include "core/vec3.h"

namespace corv {

struct Frame {
    std::uint8_t u = 0, v = 1;
};

// The frame for a plane with this (non-zero) normal.
Frame frame_for(const Vec3& normal);

// Points given by index into shared exact and correctly rounded double
// coordinates. Every answer is exact; the doubles only screen.
struct PlanarView {
    const std::vector<Vec3>* points;
    const std::vector<Float3>* fpoints;
    Frame frame;

    const Rational& u(std::uint32_t i) const { return (*points)[i][frame.u]; }
    const Rational& v(std::uint32_t i) const { return (*points)[i][frame.v]; }
    double fu(std::uint32_t i) const { return (*fpoints)[i][frame.u]; }
    double fv(std::uint32_t i) const { return (*fpoints)[i][frame.v]; }

    // +1 when a, b, c turn counter-clockwise, -1 clockwise, 0 collinear.
    int orient(std::uint32_t a, std::uint32_t b, std::uint32_t c) const;
    // Lexicographic order on (u, v): the order of the sweeps.
    int lex_cmp(std::uint32_t a, std::uint32_t b) const;
    bool lex_less(std::uint32_t a, std::uint32_t b) const { return lex_cmp(a, b) < 0; }
    // The sign of the dot product of the directions a->b and c->d.
    int dot_sign(std::uint32_t a, std::uint32_t b, std::uint32_t c, std::uint32_t d) const;
};

}  // namespace corv
