#include "mesh/boundary.h"

#include <algorithm>

namespace corv::mesh {
namespace {

struct Side {
    std::uint32_t lo, hi;
    int count;
};

// The sides whose ends are equal points cancel first: in a fragmented face
// most shared sides match end to end.
std::vector<Side> cancel_matching(const Soup& soup, const PlaneGroup& group, const PlanarView& view) {
    std::vector<std::pair<std::uint64_t, int>> keyed;
    for (std::uint32_t p : group.polygons) {
        const SoupPolygon& polygon = soup.polygons[p];
        for (std::uint32_t i = polygon.begin; i < polygon.end; ++i) {
            std::uint32_t a = soup.loops[i], b = soup.loops[i + 1 < polygon.end ? i + 1 : polygon.begin];
            bool forward = a < b;
            std::uint64_t key = forward ? (std::uint64_t(a) << 32 | b) : (std::uint64_t(b) << 32 | a);
            keyed.push_back({key, forward ? 1 : -1});
        }
    }
    std::sort(keyed.begin(), keyed.end());
    std::vector<Side> out;
    for (std::size_t i = 0; i < keyed.size();) {
        std::size_t j = i;
        int net = 0;
        for (; j < keyed.size() && keyed[j].first == keyed[i].first; ++j) net += keyed[j].second;
        if (net != 0) {
            auto a = static_cast<std::uint32_t>(keyed[i].first >> 32);
            auto b = static_cast<std::uint32_t>(keyed[i].first & 0xffffffffu);
            if (view.lex_less(a, b)) {
                out.push_back({a, b, net});
            } else {
                out.push_back({b, a, -net});
            }
        }
        i = j;
    }
    return out;
}

// A side's line: v = slope * u + intercept, or u = intercept when vertical.
// The doubles of slope and intercept order most keys without the exact values
// (rounding is monotone, so different doubles mean different values in the
// same order).
struct LineKey {
    bool vertical;
    double fslope, fintercept;
    Rational slope, intercept;
};

bool operator<(const LineKey& a, const LineKey& b) {
    if (a.vertical != b.vertical) return a.vertical < b.vertical;
    if (a.fslope != b.fslope) return a.fslope < b.fslope;
    if (a.fintercept != b.fintercept) return a.fintercept < b.fintercept;
    auto c = a.slope <=> b.slope;
    if (c != 0) return c < 0;
    return a.intercept < b.intercept;
}

bool operator==(const LineKey& a, const LineKey& b) {
    return a.vertical == b.vertical && a.slope == b.slope && a.intercept == b.intercept;
}

LineKey line_of(const PlanarView& view, const Side& s) {
    Rational du = view.u(s.hi) - view.u(s.lo);
    if (du.is_zero()) return {true, 0.0, view.fu(s.lo), Rational(), view.u(s.lo)};
    Rational slope = (view.v(s.hi) - view.v(s.lo)) / du;
    Rational intercept = view.v(s.lo) - slope * view.u(s.lo);
    double fs = slope.to_double(), fi = intercept.to_double();
    return {false, fs, fi, std::move(slope), std::move(intercept)};
}

// Sides on one line, split at every end on the line and summed per stretch.
void split_line(const PlanarView& view, const std::vector<Side>& sides, std::vector<NetSegment>& out) {
    std::vector<std::uint32_t> ends;
    ends.reserve(2 * sides.size());
    for (const Side& s : sides) {
        ends.push_back(s.lo);
        ends.push_back(s.hi);
    }
    auto less = [&](std::uint32_t a, std::uint32_t b) { return view.lex_less(a, b); };
    std::sort(ends.begin(), ends.end(), less);
    ends.erase(std::unique(ends.begin(), ends.end()), ends.end());
    std::vector<int> delta(ends.size(), 0);
    auto at = [&](std::uint32_t p) {
        return static_cast<std::size_t>(std::lower_bound(ends.begin(), ends.end(), p, less) - ends.begin());
    };
    for (const Side& s : sides) {
        delta[at(s.lo)] += s.count;
        delta[at(s.hi)] -= s.count;
    }
    int net = 0;
    for (std::size_t j = 0; j + 1 < ends.size(); ++j) {
        net += delta[j];
        if (net != 0) out.push_back({ends[j], ends[j + 1], net});
    }
}

}  // namespace

std::vector<NetSegment> net_boundary(const Soup& soup, const PlaneGroup& group, const PlanarView& view) {
    std::vector<Side> sides = cancel_matching(soup, group, view);
    std::vector<LineKey> keys;
    keys.reserve(sides.size());
    for (const Side& s : sides) keys.push_back(line_of(view, s));
    std::vector<std::uint32_t> order(sides.size());
    for (std::uint32_t i = 0; i < order.size(); ++i) order[i] = i;
    std::sort(order.begin(), order.end(), [&](std::uint32_t a, std::uint32_t b) { return keys[a] < keys[b]; });

    std::vector<NetSegment> out;
    std::vector<Side> line;
    for (std::size_t i = 0; i < order.size();) {
        std::size_t j = i + 1;
        while (j < order.size() && keys[order[j]] == keys[order[i]]) ++j;
        if (j == i + 1) {
            const Side& s = sides[order[i]];
            out.push_back({s.lo, s.hi, s.count});
        } else {
            line.clear();
            for (std::size_t k = i; k < j; ++k) line.push_back(sides[order[k]]);
            split_line(view, line, out);
        }
        i = j;
    }
    return out;
}

}  // namespace corv::mesh
