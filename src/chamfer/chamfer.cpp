#include "chamfer/chamfer.h"

#include "bsp/cut_chain.h"

#include "chamfer/corner_pass.h"
#include "chamfer/edge_pass.h"
#include "chamfer/logical_edges.h"

namespace corv {

Solid chamfer(const Solid& solid, const Rational& dist) {
    const std::vector<Edge> edges = logical_edges(solid);
    // The cuts run as one chain: the working solid's tree passes from cut to cut.
    bsp::CutChain chain(solid);
    edge_pass(solid, edges, dist, chain);
    corner_pass(edges, dist, chain);
    return chain.take();
}

}  // namespace corv
