#include "local/local_boolean.h"

#include <cstdint>
#include <vector>

#include "core/guard.h"
#include "local/classes.h"
#include "local/facet_pieces.h"

namespace corv {
namespace {

using local::Combine;
using local::Fate;

Solid run(std::span<const Solid* const> operands, std::span<const std::uint8_t> groups, Combine combine) {
    const local::FacetSoup soup = local::make_soup(operands, groups);
    const local::Neighbours near = local::overlapping_facets(soup);
    const local::Columns columns = local::make_columns(soup);
    const local::Context ctx{soup, columns, near, combine};
    const std::size_t n = soup.facets.size();
    std::vector<bool> isolated(n);
    for (std::size_t i = 0; i < n; ++i) isolated[i] = near.of(i).empty();
    const std::vector<std::uint32_t> cls = local::isolated_classes(soup, isolated);
    std::vector<Fate> class_fate(n, Fate::drop);
    Solid out;
    for (std::size_t i = 0; i < n; ++i) {
        if (!isolated[i]) {
            guard::poll(16);
            local::resolve_facet(ctx, i, out.polygons);
            continue;
        }
        const Polygon& p = *soup.facets[i].polygon;
        guard::poll();
        if (cls[i] == i) {
            const auto [q, fq] = local::inner_point(p);
            class_fate[i] = local::fate_of(local::windings_at(soup, columns, i, q, fq, p.plane.normal), combine);
        }
        const Fate f = class_fate[cls[i]];
        if (f == Fate::drop) continue;
        out.polygons.push_back(f == Fate::keep ? p : p.flipped());
    }
    return out;
}

Combine combine_of(BooleanOp op) {
    switch (op) {
        case BooleanOp::union_: return Combine::union_;
        case BooleanOp::cut: return Combine::cut;
        case BooleanOp::intersect: return Combine::intersect;
    }
    return Combine::union_;
}

}  // namespace

Solid local_boolean(BooleanOp op, const Solid& a, const Solid& b) {
    const Solid* operands[2] = {&a, &b};
    const std::uint8_t groups[2] = {0, 1};
    return run(operands, groups, combine_of(op));
}

Solid local_union_all(std::span<const Solid> solids) {
    std::vector<const Solid*> operands;
    for (const Solid& s : solids) operands.push_back(&s);
    const std::vector<std::uint8_t> groups(operands.size(), 0);
    return run(operands, groups, Combine::union_);
}

Solid local_cut_all(const Solid& a, std::span<const Solid> tools) {
    std::vector<const Solid*> operands{&a};
    for (const Solid& s : tools) operands.push_back(&s);
    std::vector<std::uint8_t> groups(operands.size(), 1);
    groups[0] = 0;
    return run(operands, groups, Combine::cut);
}

}  // namespace corv
