#include "mesh/mesh_soup.h"

#include <algorithm>

#include "local/facet_pieces.h"

namespace corv {

local::Facet triangle_facet(const Polygon& triangle, std::uint32_t operand, std::uint8_t group) {
    local::Facet f;
    f.polygon = &triangle;
    f.operand = operand;
    f.group = group;
    f.nz = static_cast<std::int8_t>(triangle.plane.normal.z.sign());
    f.triple = {0, 1, 2};
    f.lo = triangle.float_low();
    f.hi = triangle.float_high();
    return f;
}

MeshSoup mesh_soup(const std::vector<Polygon>& triangles) {
    MeshSoup m;
    m.soup.facets.reserve(triangles.size());
    for (std::size_t i = 0; i < triangles.size(); ++i) {
        m.soup.facets.push_back(triangle_facet(triangles[i], static_cast<std::uint32_t>(i), 0));
    }
    m.columns = local::make_columns(m.soup);
    return m;
}

local::Windings windings_of(const local::FacetSoup& soup, const local::Columns& columns, std::size_t t) {
    const Polygon& p = *soup.facets[t].polygon;
    const auto [q, fq] = local::inner_point(p);
    return local::windings_at(soup, columns, t, q, fq, p.plane.normal);
}

local::Neighbours contact_lists(std::size_t n, const std::vector<ContactPair>& contacts) {
    local::Neighbours out;
    out.start.assign(n + 1, 0);
    for (const ContactPair& c : contacts) {
        ++out.start[c.a + 1];
        ++out.start[c.b + 1];
    }
    for (std::size_t i = 0; i < n; ++i) out.start[i + 1] += out.start[i];
    out.items.resize(out.start[n]);
    std::vector<std::uint32_t> fill(out.start.begin(), out.start.end() - 1);
    for (const ContactPair& c : contacts) {
        out.items[fill[c.a]++] = c.b;
        out.items[fill[c.b]++] = c.a;
    }
    for (std::size_t i = 0; i < n; ++i) {
        std::sort(out.items.begin() + out.start[i], out.items.begin() + out.start[i + 1]);
    }
    return out;
}

}  // namespace corv
