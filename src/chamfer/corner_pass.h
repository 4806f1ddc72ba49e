// The corner pass of the chamfer: where three chamfered edges meet, the
// three chamfer planes leave a point; one tetrahedron per such corner cuts
// it off, leaving a triangular facet.
#pragma once

#include <array>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "chamfer/logical_edges.h"

namespace corv {

namespace bsp {
class CutChain;
}

// One edge as seen from one of its end vertices.
struct CornerEntry {
    Vec3 outward;  // the edge's dir or its negative, pointing from the vertex into the edge
    Plane plane_a;
    Plane plane_b;
};

// End vertex point text -> the edges ending there, in edge-list order.
using CornerTable = std::map<std::string, std::vector<CornerEntry>>;

CornerTable corner_table(const std::vector<Edge>& edges);

// The corners of the tetrahedron that cuts the corner of three edges by
// dist (the three chamfer corners on the faces, then the point where the
// three chamfer planes meet), or nothing when the corner does not qualify,
// as for corner_cutter.
std::optional<std::array<Vec3, 4>> corner_points(const std::vector<CornerEntry>& entries, const Rational& dist);

// The tetrahedron that cuts the corner of three edges by dist, or nothing
// when the corner does not qualify (an edge direction without a rational
// unit vector, other than three distinct face planes, a singular system,
// two edges without a shared face). The tetrahedron may have zero volume.
std::optional<Solid> corner_cutter(const std::vector<CornerEntry>& entries, const Rational& dist);

// Cuts every corner with exactly three edges whose cutter has a volume,
// in ascending key order, from the chain's working solid.
void corner_pass(const std::vector<Edge>& edges, const Rational& dist, bsp::CutChain& chain);

}  // namespace corv
