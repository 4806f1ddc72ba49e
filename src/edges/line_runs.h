// The faces along one line of a solid: every polygon side on the line is
// cut at every breakpoint of the others, sides of one face that run both
// ways over a stretch cancel (a seam inside the face), and the faces left
// over each stretch are paired around the line, two by two, each pair
// bounding the solid on one side. Neighbouring stretches with the same pair
// join, so an edge split by T-junctions comes out whole.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "core/vec3.h"

namespace corv {

struct EdgeLine {
    Vec3 point;  // a point of the line
    Vec3 dir;    // its canonical direction; positions along it are dot(p, dir)
};

// The point of the line at position t.
Vec3 point_at(const EdgeLine& line, const Rational& t);

struct SideOnLine {
    std::uint32_t face;     // index of the side's face (an oriented plane)
    int sense;              // +1 when the side runs along dir, -1 against it
    Rational lo, hi;        // the positions of its ends, lo < hi
    std::uint32_t polygon;  // index of its polygon in the solid
};

struct PairRun {
    // plus: the face whose boundary runs along dir; minus: the one running back.
    std::uint32_t plus, minus;
    Rational lo, hi;
    bool shared;  // more than two faces meet somewhere along the run
    // The polygons whose sides cover the run's start, one per face (the
    // first in the solid's order).
    std::uint32_t plus_polygon, minus_polygon;
};

// The runs of face pairs along the line, in order of lo; normals[f] is the
// outward normal of face f. Throws Panic (not_manifold) naming the stretch
// where the faces do not pair up (the solid is open there, or faces
// overlap).
std::vector<PairRun> pair_runs(std::span<const SideOnLine> sides, const EdgeLine& line, std::span<const Vec3> normals);

}  // namespace corv
