#include "edges/line_runs.h"

#include <algorithm>
#include <string>
#include <utility>

#include "core/guard.h"
#include "core/panic.h"
#include "edges/turn_order.h"

namespace corv {
namespace {

struct Net {
    std::uint32_t face;
    int net;  // sides along dir minus sides against it, over one stretch
};

struct Pair {
    std::uint32_t plus, minus;
    friend bool operator==(const Pair&, const Pair&) = default;
};

struct OpenRun {
    Pair pair;
    std::size_t from;  // the stretch it starts at
    bool shared;
};

std::vector<Rational> breakpoints(std::span<const SideOnLine> sides) {
    std::vector<Rational> ts;
    ts.reserve(2 * sides.size());
    for (const SideOnLine& s : sides) {
        ts.push_back(s.lo);
        ts.push_back(s.hi);
    }
    std::sort(ts.begin(), ts.end());
    ts.erase(std::unique(ts.begin(), ts.end()), ts.end());
    return ts;
}

std::size_t index_of(const std::vector<Rational>& ts, const Rational& t) {
    return static_cast<std::size_t>(std::lower_bound(ts.begin(), ts.end(), t) - ts.begin());
}

// Into the face, across the line: the face's loop runs counter-clockwise
// about its normal, so its inside lies to the left of each side.
Vec3 inward(const Vec3& normal, int sense, const Vec3& dir) {
    return sense > 0 ? cross(normal, dir) : cross(dir, normal);
}

[[noreturn]] void unpaired(const EdgeLine& line, const Rational& lo, const Rational& hi) {
    std::string text = "the solid is not closed along ";
    text += plain_point_text(point_at(line, lo));
    text += " to ";
    text += plain_point_text(point_at(line, hi));
    text +=
        ": the faces meeting there do not close up around it (a hole in the surface, or faces lying over each "
        "other); mend the surface first";
    throw Panic(PanicKind::not_manifold, text);
}

// The faces over one stretch, paired: turning about the line, the solid
// lies from each face whose boundary runs back (minus) to the next face,
// which must run along (plus).
std::vector<Pair> pair_faces(std::vector<Net>& nets, const EdgeLine& line, std::span<const Vec3> normals,
                             const Rational& lo, const Rational& hi) {
    int balance = 0;
    for (const Net& n : nets) {
        if (n.net != 1 && n.net != -1) unpaired(line, lo, hi);
        balance += n.net;
    }
    if (balance != 0) unpaired(line, lo, hi);
    if (nets.size() == 2) {
        const bool first_plus = nets[0].net > 0;
        return {Pair{nets[first_plus ? 0 : 1].face, nets[first_plus ? 1 : 0].face}};
    }
    std::vector<Vec3> dirs;
    for (const Net& n : nets) dirs.push_back(inward(normals[n.face], n.net, line.dir));
    const Turn turn{line.dir, dirs[0]};
    std::vector<std::size_t> order(nets.size());
    for (std::size_t i = 0; i < order.size(); ++i) order[i] = i;
    std::sort(order.begin(), order.end(),
              [&](std::size_t a, std::size_t b) { return turns_before(turn, dirs[a], dirs[b]); });
    std::vector<Pair> pairs;
    for (std::size_t k = 0; k < order.size(); ++k) {
        const Net& here = nets[order[k]];
        if (here.net > 0) continue;
        const Net& next = nets[order[(k + 1) % order.size()]];
        if (next.net < 0) unpaired(line, lo, hi);
        pairs.push_back(Pair{next.face, here.face});
    }
    return pairs;
}

// The first polygon (in the solid's order) with a side of the face over stretch j.
std::uint32_t covering_polygon(std::span<const SideOnLine> sides, const std::vector<Rational>& ts, std::uint32_t face,
                               std::size_t j) {
    std::uint32_t best = UINT32_MAX;
    for (const SideOnLine& s : sides) {
        if (s.face != face || s.polygon >= best) continue;
        if (index_of(ts, s.lo) <= j && j < index_of(ts, s.hi)) best = s.polygon;
    }
    return best;
}

}  // namespace

Vec3 point_at(const EdgeLine& line, const Rational& t) {
    const Rational step = (t - dot(line.point, line.dir)) / dot(line.dir, line.dir);
    return add(line.point, smul(step, line.dir));
}

std::vector<PairRun> pair_runs(std::span<const SideOnLine> sides, const EdgeLine& line, std::span<const Vec3> normals) {
    const std::vector<Rational> ts = breakpoints(sides);
    if (ts.size() < 2) return {};
    // One difference array per face on the line.
    std::vector<std::uint32_t> faces;
    for (const SideOnLine& s : sides) {
        if (std::find(faces.begin(), faces.end(), s.face) == faces.end()) faces.push_back(s.face);
    }
    std::vector<std::vector<int>> diff(faces.size(), std::vector<int>(ts.size(), 0));
    for (const SideOnLine& s : sides) {
        const std::size_t f = static_cast<std::size_t>(std::find(faces.begin(), faces.end(), s.face) - faces.begin());
        diff[f][index_of(ts, s.lo)] += s.sense;
        diff[f][index_of(ts, s.hi)] -= s.sense;
    }
    std::vector<int> net(faces.size(), 0);
    std::vector<OpenRun> open;
    std::vector<PairRun> runs;
    auto close = [&](const OpenRun& r, std::size_t at) {
        runs.push_back(PairRun{r.pair.plus, r.pair.minus, ts[r.from], ts[at], r.shared,
                               covering_polygon(sides, ts, r.pair.plus, r.from),
                               covering_polygon(sides, ts, r.pair.minus, r.from)});
    };
    for (std::size_t j = 0; j + 1 < ts.size(); ++j) {
        guard::poll(static_cast<std::int64_t>(faces.size()));
        std::vector<Net> nets;
        for (std::size_t f = 0; f < faces.size(); ++f) {
            net[f] += diff[f][j];
            if (net[f] != 0) nets.push_back(Net{faces[f], net[f]});
        }
        const std::vector<Pair> pairs =
            nets.empty() ? std::vector<Pair>{} : pair_faces(nets, line, normals, ts[j], ts[j + 1]);
        std::vector<OpenRun> still;
        for (const OpenRun& r : open) {
            if (std::find(pairs.begin(), pairs.end(), r.pair) == pairs.end()) {
                close(r, j);
            } else {
                still.push_back(r);
            }
        }
        for (const Pair& p : pairs) {
            auto it = std::find_if(still.begin(), still.end(), [&](const OpenRun& r) { return r.pair == p; });
            if (it == still.end()) it = still.insert(still.end(), OpenRun{p, j, false});
            it->shared = it->shared || nets.size() > 2;
        }
        open = std::move(still);
    }
    for (const OpenRun& r : open) close(r, ts.size() - 1);
    std::sort(runs.begin(), runs.end(), [](const PairRun& a, const PairRun& b) { return a.lo < b.lo; });
    return runs;
}

}  // namespace corv
