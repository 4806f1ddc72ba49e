#include "chamfer/chamfer.h"

#include "bsp/room.h"

#include "chamfer/corner_pass.h"
#include "chamfer/edge_pass.h"
#include "chamfer/logical_edges.h"

namespace corv {

Solid chamfer(const Solid& solid, const Rational& dist) {
    const std::vector<Edge> edges = logical_edges(solid);
    // Every cut of the chamfer works in one room, sized by the first.
    bsp::Room room;
    std::vector<Polygon> working = edge_pass(solid, edges, dist, room);
    return Solid{corner_pass(edges, dist, std::move(working), room)};
}

}  // namespace corv
