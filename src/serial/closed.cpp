#include "serial/closed.h"

#include <algorithm>
#include <cstdint>
#include <string>

#include "canonical/line_position.h"
#include "core/guard.h"

namespace corv {
namespace {

// A side as its two point indices, lower first; sense +1 when it runs from
// lo to hi.
struct Side {
    std::uint32_t lo, hi;
    int sense;
    std::uint32_t polygon, position;
};

// What is left of the sides between two points once each is paired with
// one running the other way: `net` sides from `from` to `to`.
struct Leftover {
    std::uint32_t from, to;
    long net;
    SideRef example;
};

// One leftover placed on its line: [lo, hi] with net sense along the line.
struct Span {
    std::string line;
    Rational lo, hi;
    long net;
    SideRef example;
};

std::vector<Leftover> leftovers(const Stored& s) {
    std::vector<Side> sides;
    sides.reserve(s.corners.size());
    for (std::size_t k = 0; k < s.polygons.size(); ++k) {
        const StoredPolygon& p = s.polygons[k];
        for (std::size_t j = 0; j < p.count; ++j) {
            const std::uint32_t a = s.corners[p.first + j], b = s.corners[p.first + (j + 1) % p.count];
            const auto pk = static_cast<std::uint32_t>(k), pj = static_cast<std::uint32_t>(j);
            sides.push_back(a < b ? Side{a, b, 1, pk, pj} : Side{b, a, -1, pk, pj});
        }
    }
    std::sort(sides.begin(), sides.end(), [](const Side& x, const Side& y) {
        return x.lo != y.lo ? x.lo < y.lo : (x.hi != y.hi ? x.hi < y.hi : x.polygon < y.polygon);
    });
    guard::poll(static_cast<std::int64_t>(sides.size()));
    std::vector<Leftover> out;
    for (std::size_t i = 0, j = 0; i < sides.size(); i = j) {
        long net = 0;
        for (j = i; j < sides.size() && sides[j].lo == sides[i].lo && sides[j].hi == sides[i].hi; ++j) {
            net += sides[j].sense;
        }
        if (net == 0) continue;
        std::size_t e = i;
        while ((sides[e].sense > 0) != (net > 0)) ++e;
        const Side& x = sides[e];
        out.push_back(net > 0 ? Leftover{x.lo, x.hi, net, {x.polygon, x.position}}
                              : Leftover{x.hi, x.lo, -net, {x.polygon, x.position}});
    }
    return out;
}

// Whether the spans of one line cover every stretch as often one way as the
// other: the net sense is a running sum of +net at lo and -net at hi.
bool balances(const Span* first, const Span* last) {
    std::vector<std::pair<const Rational*, long>> ends;
    for (const Span* s = first; s != last; ++s) {
        ends.push_back({&s->lo, s->net});
        ends.push_back({&s->hi, -s->net});
    }
    std::sort(ends.begin(), ends.end(), [](const auto& x, const auto& y) { return *x.first < *y.first; });
    long running = 0;
    for (std::size_t i = 0; i < ends.size(); ++i) {
        running += ends[i].second;
        const bool stretch_follows = i + 1 < ends.size() && *ends[i + 1].first != *ends[i].first;
        if (stretch_follows && running != 0) return false;
    }
    return true;
}

}  // namespace

std::optional<SideRef> unmatched_side(const Stored& s, const std::vector<Vec3>& points) {
    const std::vector<Leftover> rest = leftovers(s);
    std::vector<Span> spans;
    spans.reserve(rest.size());
    for (const Leftover& l : rest) {
        std::optional<LineSide> side = line_side(points[l.from], points[l.to]);
        if (!side) return l.example;  // cannot happen: the points are distinct
        if (side->ta < side->tb) {
            spans.push_back({std::move(side->key), std::move(side->ta), std::move(side->tb), l.net, l.example});
        } else {
            spans.push_back({std::move(side->key), std::move(side->tb), std::move(side->ta), -l.net, l.example});
        }
        guard::poll();
    }
    std::sort(spans.begin(), spans.end(), [](const Span& x, const Span& y) { return x.line < y.line; });
    for (std::size_t i = 0, j = 0; i < spans.size(); i = j) {
        for (j = i; j < spans.size() && spans[j].line == spans[i].line; ++j) {}
        if (!balances(spans.data() + i, spans.data() + j)) return spans[i].example;
    }
    return std::nullopt;
}

}  // namespace corv
