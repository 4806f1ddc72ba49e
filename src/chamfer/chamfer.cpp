#include "chamfer/chamfer.h"

#include "chamfer/corner_pass.h"
#include "chamfer/edge_pass.h"
#include "chamfer/logical_edges.h"

namespace corv {

Solid chamfer(const Solid& solid, const Rational& dist) {
    const std::vector<Edge> edges = logical_edges(solid);
    std::vector<Polygon> working = edge_pass(solid, edges, dist);
    return Solid{corner_pass(edges, dist, std::move(working))};
}

}  // namespace corv
