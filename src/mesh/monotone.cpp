#include "mesh/monotone.h"

#include <algorithm>

#include "core/panic.h"
#include "mesh/sweep.h"

namespace corv::mesh {
namespace {

// An active edge and the gap just above it. The gap is inside the region
// when the edge runs lo -> hi (the region is on its left). Its helper is
// the last vertex seen on the gap's boundary; `merge` says the helper is a
// vertex where two parts of the region met and which still needs a
// diagonal to the right.
struct Active {
    std::uint32_t segment;
    std::uint32_t helper;
    bool merge;
};

[[noreturn]] void inconsistent() {
    throw Panic(PanicKind::not_manifold,
                "mesh: a face boundary crosses itself (the solid is not a proper closed surface)");
}

}  // namespace

std::vector<Edge> monotone_diagonals(const std::vector<Edge>& edges, const PlanarView& view) {
    std::vector<SweepSegment> segs;
    std::vector<std::uint8_t> up;  // region above the segment
    segs.reserve(edges.size());
    for (const Edge& e : edges) {
        bool forward = view.lex_less(e[0], e[1]);
        segs.push_back(forward ? SweepSegment{e[0], e[1]} : SweepSegment{e[1], e[0]});
        up.push_back(forward ? 1 : 0);
    }
    const SweepEvents ev = sweep_events(segs, view);
    std::vector<Edge> diagonals;
    std::vector<Active> status;
    std::vector<std::uint32_t> starting;
    for (std::size_t k = 0; k < ev.vertices.size(); ++k) {
        const std::uint32_t v = ev.vertices[k];
        const std::size_t ending = ev.ending_begin[k + 1] - ev.ending_begin[k];
        std::size_t p = 0;
        if (ending > 0) {
            while (p < status.size() && segs[status[p].segment].hi != v) ++p;
            const std::size_t last = p + ending - 1;
            if (last >= status.size()) inconsistent();
            for (std::size_t i = p; i <= last; ++i) {
                if (segs[status[i].segment].hi != v) inconsistent();
            }
            // Every inside gap that v touches: below the ending edges, between
            // them and above them. A pending merge vertex is joined to v.
            for (std::size_t i = (p > 0 ? p - 1 : p); i <= last; ++i) {
                if (up[status[i].segment] && status[i].merge) diagonals.push_back({status[i].helper, v});
            }
            status.erase(status.begin() + static_cast<std::ptrdiff_t>(p),
                         status.begin() + static_cast<std::ptrdiff_t>(last + 1));
        } else {
            for (; p < status.size(); ++p) {
                const SweepSegment& s = segs[status[p].segment];
                int o = view.orient(s.lo, s.hi, v);
                if (o == 0) inconsistent();
                if (o < 0) break;
            }
            // v starts edges inside the region: it splits the gap and is joined
            // to the gap's helper.
            if (p > 0 && up[status[p - 1].segment]) diagonals.push_back({status[p - 1].helper, v});
        }
        starting.assign(ev.starting.begin() + ev.starting_begin[k], ev.starting.begin() + ev.starting_begin[k + 1]);
        std::sort(starting.begin(), starting.end(),
                  [&](std::uint32_t a, std::uint32_t b) { return view.orient(v, segs[a].hi, segs[b].hi) > 0; });
        if (p > 0 && up[status[p - 1].segment]) {
            status[p - 1].helper = v;
            status[p - 1].merge = starting.empty();
        }
        std::vector<Active> fresh;
        for (std::uint32_t s : starting) fresh.push_back({s, v, false});
        status.insert(status.begin() + static_cast<std::ptrdiff_t>(p), fresh.begin(), fresh.end());
    }
    if (!status.empty()) inconsistent();
    return diagonals;
}

}  // namespace corv::mesh
