#include "canonical/watertight.h"

#include <algorithm>
#include <string>
#include <unordered_map>
#include <vector>

#include "canonical/line_position.h"

namespace corv {
namespace {

// One polygon side on its line: lo < hi, sense +1 when it runs from lo to hi.
struct SideSpan {
    Rational lo, hi;
    int sense;
};

std::size_t index_of(const std::vector<Rational>& breakpoints, const Rational& t) {
    return static_cast<std::size_t>(std::lower_bound(breakpoints.begin(), breakpoints.end(), t) - breakpoints.begin());
}

// Every stretch between consecutive breakpoints must be covered as often in
// one sense as in the other. A side covers exactly the stretches from its lo
// breakpoint up to its hi breakpoint, so the net sense on each stretch is a
// running sum of +sense at lo and -sense at hi.
bool line_balances(const std::vector<SideSpan>& spans) {
    if (spans.size() == 2) {  // the usual case: one edge, one side each way
        const SideSpan& p = spans[0];
        const SideSpan& q = spans[1];
        return p.sense + q.sense == 0 && p.lo == q.lo && p.hi == q.hi;
    }
    std::vector<Rational> breakpoints;
    breakpoints.reserve(2 * spans.size());
    for (const SideSpan& s : spans) {
        breakpoints.push_back(s.lo);
        breakpoints.push_back(s.hi);
    }
    std::sort(breakpoints.begin(), breakpoints.end());
    breakpoints.erase(std::unique(breakpoints.begin(), breakpoints.end()), breakpoints.end());
    std::vector<long> delta(breakpoints.size(), 0);
    for (const SideSpan& s : spans) {
        delta[index_of(breakpoints, s.lo)] += s.sense;
        delta[index_of(breakpoints, s.hi)] -= s.sense;
    }
    long net = 0;
    for (std::size_t j = 0; j + 1 < delta.size(); ++j) {
        net += delta[j];
        if (net != 0) return false;
    }
    return true;
}

}  // namespace

bool watertight_ok(const Solid& solid) {
    // The answer does not depend on the order of the lines, so a hash map will do.
    std::unordered_map<std::string, std::vector<SideSpan>> lines;
    for (const Polygon& polygon : solid.polygons) {
        const std::vector<Vec3>& loop = polygon.vertices();
        for (std::size_t i = 0; i < loop.size(); ++i) {
            std::optional<LineSide> side = line_side(loop[i], loop[(i + 1) % loop.size()]);
            if (!side) continue;
            std::vector<SideSpan>& spans = lines[std::move(side->key)];
            if (side->ta < side->tb) {
                spans.push_back({std::move(side->ta), std::move(side->tb), +1});
            } else {
                spans.push_back({std::move(side->tb), std::move(side->ta), -1});
            }
        }
    }
    for (const auto& [key, spans] : lines) {
        if (!line_balances(spans)) return false;
    }
    return true;
}

}  // namespace corv
