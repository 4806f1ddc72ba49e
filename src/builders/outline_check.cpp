#include "builders/outline_check.h"

#include <algorithm>
#include <numeric>
#include <string>

#include "core/filtered.h"
#include "core/panic.h"

namespace corv {
namespace {

struct Outline {
    const std::vector<Point2>& p;
    std::vector<double> fx, fy;

    explicit Outline(const std::vector<Point2>& points) : p(points) {
        for (const Point2& q : points) {
            fx.push_back(q.x.to_double());
            fy.push_back(q.y.to_double());
        }
    }
    std::size_t size() const { return p.size(); }
    std::size_t next(std::size_t i) const { return (i + 1) % p.size(); }
    int orient(std::size_t a, std::size_t b, std::size_t c) const {
        const int s = filtered::orient2d_sign(fx[a], fy[a], fx[b], fy[b], fx[c], fy[c]);
        if (s != 0) return s;
        return ((p[b].x - p[a].x) * (p[c].y - p[a].y) - (p[b].y - p[a].y) * (p[c].x - p[a].x)).sign();
    }
    // c, on the line through a and b, lies on the closed segment a-b.
    bool within(std::size_t c, std::size_t a, std::size_t b) const {
        return std::min(p[a].x, p[b].x) <= p[c].x && p[c].x <= std::max(p[a].x, p[b].x) &&
               std::min(p[a].y, p[b].y) <= p[c].y && p[c].y <= std::max(p[a].y, p[b].y);
    }
    std::string point(std::size_t i) const {
        std::string out = "(";
        out += p[i].x.plain_text();
        out += ", ";
        out += p[i].y.plain_text();
        out += ')';
        return out;
    }
    std::string edge(std::size_t i) const {
        return "edge " + std::to_string(i) + " from " + point(i) + " to " + point(next(i));
    }
};

[[noreturn]] void refuse(std::string_view what, const std::string& why) {
    throw Panic(PanicKind::invalid_argument, std::string(what) + ": " + why);
}

// Whether the closed edges i and j (not neighbours) have a point in common.
bool edges_meet(const Outline& o, std::size_t i, std::size_t j) {
    const std::size_t a = i, b = o.next(i), c = j, d = o.next(j);
    const int o1 = o.orient(a, b, c), o2 = o.orient(a, b, d), o3 = o.orient(c, d, a), o4 = o.orient(c, d, b);
    if (o1 * o2 < 0 && o3 * o4 < 0) return true;
    return (o1 == 0 && o.within(c, a, b)) || (o2 == 0 && o.within(d, a, b)) || (o3 == 0 && o.within(a, c, d)) ||
           (o4 == 0 && o.within(b, c, d));
}

// Whether neighbouring edges i and i + 1 fold back onto each other.
bool folds_back(const Outline& o, std::size_t i) {
    const std::size_t a = i, b = o.next(i), c = o.next(b);
    if (o.orient(a, b, c) != 0) return false;
    return ((o.p[b].x - o.p[a].x) * (o.p[c].x - o.p[b].x) + (o.p[b].y - o.p[a].y) * (o.p[c].y - o.p[b].y)).sign() < 0;
}

void check_points(const Outline& o, std::string_view what) {
    const std::size_t n = o.size();
    if (n < 3) refuse(what, "an outline needs at least 3 points, got " + std::to_string(n));
    std::vector<std::size_t> order(n);
    std::iota(order.begin(), order.end(), std::size_t{0});
    std::sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) {
        if (o.fx[a] != o.fx[b]) return o.fx[a] < o.fx[b];
        if (o.fy[a] != o.fy[b]) return o.fy[a] < o.fy[b];
        return a < b;
    });
    // Equal points have equal doubles, so they sit in runs of equal doubles.
    for (std::size_t k = 0; k + 1 < n; ++k) {
        for (std::size_t m = k + 1; m < n && o.fx[order[m]] == o.fx[order[k]] && o.fy[order[m]] == o.fy[order[k]];
             ++m) {
            if (o.p[order[m]] == o.p[order[k]]) {
                const std::size_t i = std::min(order[k], order[m]), j = std::max(order[k], order[m]);
                refuse(what, "points " + std::to_string(i) + " and " + std::to_string(j) + " are both " + o.point(i) +
                                 "; give every corner once");
            }
        }
    }
    bool line = true;
    for (std::size_t k = 2; k < n && line; ++k) line = o.orient(0, 1, k) == 0;
    if (line) refuse(what, "all " + std::to_string(n) + " points lie on one line; an outline must enclose an area");
}

}  // namespace

bool on_one_line(const std::vector<Point2>& outline) {
    const Outline o(outline);
    std::size_t second = 1;
    while (second < o.size() && o.p[second] == o.p[0]) ++second;
    for (std::size_t k = second + 1; k < o.size(); ++k) {
        if (o.orient(0, second, k) != 0) return false;
    }
    return true;
}

void check_outline(const std::vector<Point2>& outline, std::string_view what) {
    const Outline o(outline);
    check_points(o, what);
    const std::size_t n = o.size();
    for (std::size_t i = 0; i < n; ++i) {
        if (folds_back(o, i)) {
            refuse(what, o.edge(i) + " and " + o.edge(o.next(i)) + " run back over each other");
        }
    }
    // Edges by the low end of their x range; each edge is tested against the
    // later ones whose x range starts before its own ends.
    std::vector<std::size_t> order(n);
    std::iota(order.begin(), order.end(), std::size_t{0});
    auto lo_x = [&](std::size_t e) { return std::min(o.fx[e], o.fx[o.next(e)]); };
    auto hi_x = [&](std::size_t e) { return std::max(o.fx[e], o.fx[o.next(e)]); };
    std::sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) { return lo_x(a) < lo_x(b); });
    for (std::size_t k = 0; k < n; ++k) {
        const std::size_t i = order[k];
        const double ylo = std::min(o.fy[i], o.fy[o.next(i)]), yhi = std::max(o.fy[i], o.fy[o.next(i)]);
        for (std::size_t m = k + 1; m < n && lo_x(order[m]) <= hi_x(i); ++m) {
            const std::size_t j = order[m];
            if (o.next(i) == j || o.next(j) == i) continue;  // neighbours: checked above
            if (std::max(o.fy[j], o.fy[o.next(j)]) < ylo || std::min(o.fy[j], o.fy[o.next(j)]) > yhi) continue;
            if (edges_meet(o, i, j)) {
                const std::size_t a = std::min(i, j), b = std::max(i, j);
                refuse(what, o.edge(a) + " and " + o.edge(b) +
                                 " cross or touch; an outline must run round its area once without meeting itself");
            }
        }
    }
}

}  // namespace corv
