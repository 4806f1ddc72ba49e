// The local work on one facet that other operands come near: its piece is
// cut by axis planes into cells (where many facets crowd it), each cell's
// piece by the planes of the facets that cross it and by the edge planes of
// coplanar facets, each final piece is classified by a winding query, and
// splits whose two sides end the same way are undone, so the facet comes
// out in as few convex pieces as its fate allows. Reads shared data only.
#pragma once

#include <vector>

#include "local/fate.h"
#include "local/pairs.h"
#include "local/winding.h"

namespace corv::local {

struct Context {
    const FacetSoup& soup;
    const Columns& columns;
    const Neighbours& near;
    Combine combine;
};

// Appends the output pieces of facet i to out.
void resolve_facet(const Context& ctx, std::size_t i, std::vector<Polygon>& out);

// A point strictly inside the convex polygon p (the mean of its vertices)
// and its float copy.
std::pair<Vec3, Float3> inner_point(const Polygon& p);

}  // namespace corv::local
