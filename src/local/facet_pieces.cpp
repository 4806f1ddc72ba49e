#include "local/facet_pieces.h"

#include <algorithm>
#include <cmath>
#include <optional>
#include <span>

#include "core/exact_double.h"
#include "core/guard.h"
#include "local/coplanar_ring.h"
#include "local/cut_planes.h"
#include "local/filtered.h"

namespace corv::local {
namespace {

// A cell is split further while it has more candidates than this.
constexpr std::size_t kCellCandidates = 6;
constexpr int kMaxCellDepth = 24;
constexpr std::uint32_t kNone = ~0u;

// The axis along which the facet's float box is flat (it lies in a
// coordinate plane), or 3.
std::size_t flat_axis_of(const Facet& facet) {
    std::size_t axis = 0;
    while (axis < 3 && facet.lo[axis] != facet.hi[axis]) ++axis;
    return axis;
}

// Whether f's float box lies flat in that coordinate plane of the facet.
bool flat_on(const Facet& f, const Facet& facet, std::size_t axis) {
    return axis < 3 && f.lo[axis] == facet.lo[axis] && f.hi[axis] == facet.lo[axis];
}

struct Node {
    Polygon piece;
    std::uint32_t cell = kNone;  // index into the cells' cut lists, once known
    std::uint32_t next = 0;      // the next cut plane of the cell to try
    std::int32_t child[2] = {-1, -1};
    Fate fate = Fate::drop;
    bool uniform = true;
    std::optional<std::vector<Polygon>> ended{};  // final pieces, fates applied (a flat pair)
};

struct Work {
    std::uint32_t node;
    std::vector<std::uint32_t> candidates;
    int depth;
};

// An axis-aligned split value for the piece: a short dyadic number near the
// median of the candidates' box centres, strictly inside the piece's float
// extent (so the exact piece has vertices on both sides). NaN when none.
double cell_split(const FacetSoup& soup, const Facet& facet, const std::vector<std::uint32_t>& cands, std::size_t axis,
                  double lo, double hi) {
    std::vector<double> centres;
    centres.reserve(cands.size());
    // The spans of candidates lying flat in the facet's plane, when it lies
    // in a coordinate plane: a split beside them leaves each whole in one
    // cell (flat_pair_pieces).
    const std::size_t flat_axis = flat_axis_of(facet);
    std::vector<std::pair<double, double>> flat;
    for (std::uint32_t id : cands) {
        const Facet& f = soup.facets[id];
        centres.push_back(0.5 * (std::max(f.lo[axis], lo) + std::min(f.hi[axis], hi)));
        if (flat_on(f, facet, flat_axis)) flat.emplace_back(f.lo[axis], f.hi[axis]);
    }
    auto mid = centres.begin() + static_cast<std::ptrdiff_t>(centres.size() / 2);
    std::nth_element(centres.begin(), mid, centres.end());
    const int e = std::ilogb(hi - lo) - 12;
    auto on_grid = [&](double x) { return std::ldexp(std::nearbyint(std::ldexp(x, -e)), e); };
    auto inside_flat = [&](double c) {
        for (const auto& [a, b] : flat) {
            if (c >= a && c <= b) return true;
        }
        return false;
    };
    for (double target : {*mid, 0.5 * (lo + hi)}) {
        double c = on_grid(target);
        // Moved past the ends of the flat spans it falls in, a few times.
        for (int tries = 0; tries < 4 && inside_flat(c); ++tries) {
            for (const auto& [a, b] : flat) {
                if (c < a || c > b) continue;
                const double below = on_grid(a) - std::ldexp(1.0, e), above = on_grid(b) + std::ldexp(1.0, e);
                c = target - below < above - target ? below : above;
                break;
            }
        }
        if (inside_flat(c)) c = on_grid(target);
        if (c > lo && c < hi) return c;
    }
    return std::nan("");
}

// Splits node n's piece into cells along an axis when that separates its
// candidates; returns false when the cell should stay whole.
bool split_cell(const Context& ctx, const Facet& facet, std::vector<Node>& nodes, std::vector<Work>& stack, Work& w) {
    if (w.candidates.size() <= kCellCandidates || w.depth >= kMaxCellDepth) return false;
    const Polygon& piece = nodes[w.node].piece;
    Float3 lo = piece.float_vertices()[0], hi = lo;
    for (const Float3& v : piece.float_vertices()) {
        for (std::size_t a = 0; a < 3; ++a) {
            lo[a] = std::min(lo[a], v[a]);
            hi[a] = std::max(hi[a], v[a]);
        }
    }
    std::size_t axis = 0;
    for (std::size_t a = 1; a < 3; ++a) {
        if (hi[a] - lo[a] > hi[axis] - lo[axis]) axis = a;
    }
    if (!(hi[axis] > lo[axis]) || !std::isfinite(hi[axis] - lo[axis])) return false;
    const double c = cell_split(ctx.soup, facet, w.candidates, axis, lo[axis], hi[axis]);
    if (std::isnan(c)) return false;
    std::vector<std::uint32_t> below, above;
    for (std::uint32_t id : w.candidates) {
        const Facet& f = ctx.soup.facets[id];
        if (f.lo[axis] <= c) below.push_back(id);
        if (f.hi[axis] >= c) above.push_back(id);
    }
    if (below.size() == w.candidates.size() || above.size() == w.candidates.size()) return false;
    Vec3 normal{0, 0, 0};
    normal[axis] = 1;
    const Plane plane{normal, from_double(c)};
    std::vector<Polygon> front, back;
    split_into(plane, float_plane(plane), Polygon(piece), front, back, front, back);
    if (front.size() != 1 || back.size() != 1) return false;
    const auto parent = w.node;
    const int depth = w.depth + 1;
    std::vector<std::uint32_t>* lists[2] = {&below, &above};
    Polygon* parts[2] = {&back[0], &front[0]};
    for (int k = 0; k < 2; ++k) {
        nodes[parent].child[k] = static_cast<std::int32_t>(nodes.size());
        nodes.push_back(Node{std::move(*parts[k])});
    }
    for (int k = 1; k >= 0; --k) {
        stack.push_back({static_cast<std::uint32_t>(nodes[parent].child[k]), std::move(*lists[k]), depth});
    }
    return true;
}

// Cuts node n by the first remaining plane of its cell that crosses it;
// returns false when none does (the node is a final piece).
bool cut_node(std::vector<Node>& nodes, const CellCuts& cuts, std::uint32_t n, std::vector<std::uint32_t>& pending) {
    while (nodes[n].next < cuts.planes.size()) {
        const CutPlane& c = cuts.planes[nodes[n].next++];
        if (!must_cut(c, nodes[n].piece)) continue;
        std::vector<Polygon> front, back;
        split_into(c.plane, c.fp, Polygon(nodes[n].piece), front, back, front, back);
        if (front.size() != 1 || back.size() != 1) continue;
        const std::uint32_t next = nodes[n].next, cell = nodes[n].cell;
        Polygon* parts[2] = {&front[0], &back[0]};
        for (int k = 0; k < 2; ++k) {
            nodes[n].child[k] = static_cast<std::int32_t>(nodes.size());
            Node child{std::move(*parts[k])};
            child.cell = cell;
            child.next = next;
            nodes.push_back(std::move(child));
        }
        pending.push_back(static_cast<std::uint32_t>(nodes[n].child[1]));
        pending.push_back(static_cast<std::uint32_t>(nodes[n].child[0]));
        return true;
    }
    return false;
}

Fate classify(const Context& ctx, std::size_t i, const Polygon& piece, const CellCuts& cuts) {
    const Facet& facet = ctx.soup.facets[i];
    const auto [q, fq] = inner_point(piece);
    // A piece inside a coplanar facet of an earlier operand is that facet's
    // to report: the area is output once.
    for (std::uint32_t id : cuts.coplanar) {
        const Facet& other = ctx.soup.facets[id];
        if (other.operand < facet.operand && strictly_inside(other, q, fq)) return Fate::drop;
    }
    return fate_of(windings_at(ctx.soup, ctx.columns, i, q, fq, piece.plane.normal), ctx.combine);
}

// A point of the plane with two short dyadic coordinates near the float
// centroid, the third solved from the plane; nothing unless it is strictly
// inside the loop (checked exactly). Much cheaper to build and to test with
// than the mean of vertices that many cuts have made long.
std::optional<std::pair<Vec3, Float3>> short_inner_point(const Polygon& p) {
    const std::vector<Float3>& f = p.float_vertices();
    const Vec3& n = p.plane.normal;
    Float3 c{0, 0, 0}, lo = f[0], hi = f[0];
    for (const Float3& v : f) {
        for (std::size_t a = 0; a < 3; ++a) {
            c[a] += v[a];
            lo[a] = std::min(lo[a], v[a]);
            hi[a] = std::max(hi[a], v[a]);
        }
    }
    // Solve for the axis the plane is steepest along (by float extent: the
    // smallest extent of the loop), so the two free coordinates spread it.
    std::size_t k = 0;
    for (std::size_t a = 1; a < 3; ++a) {
        if (hi[a] - lo[a] < hi[k] - lo[k]) k = a;
    }
    if (n[k].is_zero()) return std::nullopt;
    const std::size_t i = (k + 1) % 3, j = (k + 2) % 3;
    Vec3 q;
    for (std::size_t a : {i, j}) {
        const double mean = c[a] / static_cast<double>(f.size());
        const double extent = hi[a] - lo[a];
        if (!(extent > 0) || !std::isfinite(mean)) return std::nullopt;
        const int e = std::ilogb(extent) - 20;
        q[a] = from_double(std::ldexp(std::nearbyint(std::ldexp(mean, -e)), e));
    }
    q[k] = (p.plane.offset - n[i] * q[i] - n[j] * q[j]) / n[k];
    const Float3 fq = to_f3(q);
    const int want = n[k].sign();
    const std::size_t m = p.vertices().size();
    for (std::size_t v = 0; v < m; ++v) {
        const std::size_t w = (v + 1) % m;
        if (p.vertices()[v] == p.vertices()[w]) continue;
        if (orient2d(p.vertices()[v], f[v], p.vertices()[w], f[w], q, fq, static_cast<int>(i), static_cast<int>(j)) !=
            want) {
            return std::nullopt;
        }
    }
    return std::make_pair(std::move(q), fq);
}

}  // namespace

std::pair<Vec3, Float3> inner_point(const Polygon& p) {
    if (auto short_point = short_inner_point(p)) return *std::move(short_point);
    Vec3 sum = p.vertices()[0];
    for (std::size_t i = 1; i < p.vertices().size(); ++i) sum = add(sum, p.vertices()[i]);
    const Rational n(static_cast<std::int64_t>(p.vertices().size()));
    Vec3 q{sum.x / n, sum.y / n, sum.z / n};
    Float3 fq = to_f3(q);
    return {std::move(q), fq};
}

namespace {

// A region of a facet (the facet whole, or a cell's piece of it) with
// exactly one facet of another operand lying flat on it, either the same
// loop or strictly inside it, and every other meeting its plane only along
// that one's edges or outside the region: the region whole, or the ring's
// pieces (local/coplanar_ring.h), each classified and appended to out as
// it ends; false when the shortcut does not apply.
bool flat_pair_pieces(const Context& ctx, std::size_t i, const Polygon& region, std::span<const std::uint32_t> near,
                      bool whole, std::vector<Polygon>& out) {
    const Facet& facet = ctx.soup.facets[i];
    // Worth a look: for the whole facet, one candidate with the same float
    // box (its twin, as where a part meets its own copy); for a facet in a
    // coordinate plane, one candidate flat in that plane.
    const std::size_t axis = flat_axis_of(facet);
    if (axis == 3 && !whole) return false;
    // The flat one must lie strictly inside the region's float box: one
    // reaching the region's edge (a bevel piece flush with a face) cannot
    // take the shortcut, and the relations are not worth making.
    Float3 lo = region.float_vertices()[0], hi = lo;
    for (const Float3& v : region.float_vertices()) widen(lo, hi, v);
    std::size_t twins = 0, flat = 0;
    bool inside = false;
    for (std::uint32_t id : near) {
        const Facet& f = ctx.soup.facets[id];
        if (whole && f.lo == facet.lo && f.hi == facet.hi) ++twins;
        if (flat_on(f, facet, axis)) {
            ++flat;
            inside = true;
            for (std::size_t a = 0; a < 3; ++a) {
                if (a != axis) inside = inside && lo[a] < f.lo[a] && f.hi[a] < hi[a];
            }
        }
    }
    if (twins != 1 && (flat != 1 || !inside)) return false;
    // Only the coplanar list is needed (classify reads no cut planes).
    CellCuts cuts;
    std::vector<const Polygon*> meeting;
    for (std::uint32_t id : near) {
        const Relation r = relation(facet, ctx.soup.facets[id]);
        if (r == Relation::coplanar) cuts.coplanar.push_back(id);
        if (r == Relation::across) meeting.push_back(ctx.soup.facets[id].polygon);
    }
    // One of them must overlap the facet; others may lie beside it, in its
    // plane, clear of its inside (a neighbour of the facet's twin).
    const Polygon* overlapping = nullptr;
    for (std::uint32_t id : cuts.coplanar) {
        const Polygon& other = *ctx.soup.facets[id].polygon;
        std::vector<PlaneSpot> corners;
        for (std::size_t k = 0; k < other.vertices().size(); ++k) {
            corners.push_back({&other.vertices()[k], &other.float_vertices()[k]});
        }
        if (clear_of(region, corners)) continue;
        if (overlapping != nullptr) return false;
        overlapping = &other;
    }
    if (overlapping == nullptr) return false;
    // A piece's fate can change only where a facet of another operand meets
    // the plane (a solid passing through the plane may do so between facets
    // that end on it, along lines of the plane): every facet that meets the
    // plane must meet it in one edge of the flat facet, as where its solid's
    // walls stand on the plane, or outside this facet.
    const Polygon& flat_facet = *overlapping;
    // A facet meeting the plane elsewhere is harmless when what it meets
    // the plane in (a point or a segment) keeps clear of the facet's inside.
    for (const Polygon* other : meeting) {
        const std::vector<Vec3>& v = other->vertices();
        const std::vector<Float3>& fv = other->float_vertices();
        std::vector<int> side(v.size());
        bool front = false, back = false;
        std::vector<Vec3> on;
        std::vector<PlaneSpot> spots;
        for (std::size_t k = 0; k < v.size(); ++k) {
            side[k] = facet_side(facet, v[k], fv[k]);
            front = front || side[k] > 0;
            back = back || side[k] < 0;
            if (side[k] != 0) continue;
            on.push_back(v[k]);
            spots.push_back({&v[k], &fv[k]});
        }
        if ((!front || !back) && on_one_edge(flat_facet, on)) continue;
        for (std::size_t k = 0; k < v.size(); ++k) {
            const std::size_t l = (k + 1) % v.size();
            if (side[k] * side[l] < 0) spots.push_back({&v[k], &fv[k], &v[l], &fv[l], side[k]});
        }
        if (!clear_of(region, spots)) return false;
    }
    std::optional<RingPieces> ring;
    if (same_loop(region, flat_facet)) {
        ring = RingPieces{region, {}};
    } else {
        ring = ring_pieces(region, flat_facet);
    }
    if (!ring) return false;
    ring->ring.push_back(std::move(ring->inner));
    for (Polygon& piece : ring->ring) {
        guard::poll(4);
        const Fate fate = classify(ctx, i, piece, cuts);
        if (fate == Fate::drop) continue;
        if (fate == Fate::flip) piece.flip();
        out.push_back(std::move(piece));
    }
    return true;
}

}  // namespace

void resolve_facet(const Context& ctx, std::size_t i, std::vector<Polygon>& out) {
    const Facet& facet = ctx.soup.facets[i];
    const auto near = ctx.near.of(i);
    if (flat_pair_pieces(ctx, i, *facet.polygon, near, true, out)) return;
    std::vector<Node> nodes;
    std::vector<CellCuts> cells;
    nodes.push_back(Node{*facet.polygon});
    std::vector<Work> stack;
    stack.push_back({0, std::vector<std::uint32_t>(near.begin(), near.end()), 0});
    std::vector<std::uint32_t> pending;
    while (!stack.empty()) {
        Work w = std::move(stack.back());
        stack.pop_back();
        // A cell holding one flat facet whole (one of many holes flush with a
        // plate's face) ends there.
        Node& node = nodes[w.node];
        std::vector<Polygon> ended;
        if (w.node != 0 && flat_pair_pieces(ctx, i, node.piece, w.candidates, false, ended)) {
            node.uniform = false;
            node.ended = std::move(ended);
            continue;
        }
        if (split_cell(ctx, facet, nodes, stack, w)) continue;
        nodes[w.node].cell = static_cast<std::uint32_t>(cells.size());
        cells.push_back(cell_cuts(ctx.soup, facet, w.candidates));
        pending.push_back(w.node);
        while (!pending.empty()) {
            const std::uint32_t n = pending.back();
            pending.pop_back();
            guard::poll(4);
            if (!cut_node(nodes, cells[nodes[n].cell], n, pending)) {
                nodes[n].fate = classify(ctx, i, nodes[n].piece, cells[nodes[n].cell]);
            }
        }
    }
    // Children come after their parents: fold the fates bottom-up.
    for (std::size_t k = nodes.size(); k-- > 0;) {
        Node& n = nodes[k];
        if (n.child[0] < 0) continue;
        const Node& a = nodes[static_cast<std::size_t>(n.child[0])];
        const Node& b = nodes[static_cast<std::size_t>(n.child[1])];
        n.uniform = a.uniform && b.uniform && a.fate == b.fate;
        if (n.uniform) n.fate = a.fate;
    }
    std::vector<std::uint32_t> emit{0};
    while (!emit.empty()) {
        Node& n = nodes[emit.back()];
        emit.pop_back();
        if (n.ended) {
            for (Polygon& p : *n.ended) out.push_back(std::move(p));
            continue;
        }
        if (!n.uniform) {
            emit.push_back(static_cast<std::uint32_t>(n.child[1]));
            emit.push_back(static_cast<std::uint32_t>(n.child[0]));
            continue;
        }
        if (n.fate == Fate::drop) continue;
        if (n.fate == Fate::flip) n.piece.flip();
        out.push_back(std::move(n.piece));
    }
}

}  // namespace corv::local
