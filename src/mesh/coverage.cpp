#include "mesh/coverage.h"

#include <cstdlib>

#include "core/panic.h"
#include "mesh/sweep.h"

namespace corv::mesh {

// The sweep keeps the active segments ordered from below to above. Crossing
// a segment upwards (from its right to its left, as it runs lo -> hi) adds
// its count to the coverage, which is 0 below everything; so the coverage
// just below a segment is the sum of the counts of the active segments
// below it.
Coverage coverage(const std::vector<NetSegment>& segments, const PlanarView& view) {
    std::vector<SweepSegment> plain;
    plain.reserve(segments.size());
    for (const NetSegment& s : segments) plain.push_back({s.lo, s.hi});
    const SweepEvents ev = sweep_events(plain, view);

    std::vector<int> below(segments.size(), 0);
    std::vector<std::uint32_t> status;
    for (std::size_t k = 0; k < ev.vertices.size(); ++k) {
        const std::uint32_t v = ev.vertices[k];
        std::erase_if(status, [&](std::uint32_t s) { return segments[s].hi == v; });
        for (std::uint32_t j = ev.starting_begin[k]; j < ev.starting_begin[k + 1]; ++j) {
            const std::uint32_t n = ev.starting[j];
            std::size_t at = 0;
            int sum = 0;
            while (at < status.size() && !starts_below(plain, n, status[at], view)) {
                sum += segments[status[at]].count;
                ++at;
            }
            below[n] = sum;
            status.insert(status.begin() + static_cast<std::ptrdiff_t>(at), n);
        }
    }

    Coverage out;
    for (std::size_t i = 0; i < segments.size(); ++i) {
        const NetSegment& s = segments[i];
        const int under = below[i], over = below[i] + s.count;
        if (std::abs(under) > 1 || std::abs(over) > 1) {
            throw Panic(PanicKind::not_manifold,
                        "mesh: a face is covered more than once (overlapping polygons in one plane)");
        }
        // The region is on the left: above a segment running lo -> hi.
        if (over == 1) out.front.push_back({s.lo, s.hi});
        if (under == 1) out.front.push_back({s.hi, s.lo});
        if (over == -1) out.back.push_back({s.lo, s.hi});
        if (under == -1) out.back.push_back({s.hi, s.lo});
    }
    return out;
}

}  // namespace corv::mesh
