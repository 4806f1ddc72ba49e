#include "mesh/sweep.h"

#include <algorithm>

namespace corv::mesh {

SweepEvents sweep_events(const std::vector<SweepSegment>& segments, const PlanarView& view) {
    struct Record {
        std::uint32_t vertex, segment;
        bool starts;
    };
    std::vector<Record> records;
    records.reserve(2 * segments.size());
    for (std::uint32_t i = 0; i < segments.size(); ++i) {
        records.push_back({segments[i].lo, i, true});
        records.push_back({segments[i].hi, i, false});
    }
    std::sort(records.begin(), records.end(), [&](const Record& a, const Record& b) {
        int c = view.lex_cmp(a.vertex, b.vertex);
        if (c != 0) return c < 0;
        return a.segment < b.segment;
    });
    SweepEvents ev;
    for (std::size_t i = 0; i < records.size();) {
        std::size_t j = i;
        ev.vertices.push_back(records[i].vertex);
        ev.ending_begin.push_back(static_cast<std::uint32_t>(ev.ending.size()));
        ev.starting_begin.push_back(static_cast<std::uint32_t>(ev.starting.size()));
        for (; j < records.size() && records[j].vertex == records[i].vertex; ++j) {
            (records[j].starts ? ev.starting : ev.ending).push_back(records[j].segment);
        }
        i = j;
    }
    ev.ending_begin.push_back(static_cast<std::uint32_t>(ev.ending.size()));
    ev.starting_begin.push_back(static_cast<std::uint32_t>(ev.starting.size()));
    return ev;
}

bool starts_below(const std::vector<SweepSegment>& segments, std::uint32_t n, std::uint32_t e, const PlanarView& view) {
    const SweepSegment& sn = segments[n];
    const SweepSegment& se = segments[e];
    if (se.lo == sn.lo) return view.orient(sn.lo, se.hi, sn.hi) < 0;
    int o = view.orient(se.lo, se.hi, sn.lo);
    if (o != 0) return o < 0;
    return view.orient(se.lo, se.hi, sn.hi) < 0;
}

}  // namespace corv::mesh
