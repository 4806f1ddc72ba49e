// Random outlines for the builder tests: arbitrary point lists and simple
// counter-clockwise outlines (orthogonal skylines and star shapes).
#pragma once

#include <algorithm>
#include <random>
#include <vector>

#include "builders/ear_clip.h"

namespace corv::testing_outlines {

inline Point2 pt(std::int64_t x, std::int64_t y) { return {Rational(x), Rational(y)}; }

// Any points on a small grid: duplicates, collinear runs and crossings.
inline std::vector<Point2> random_points(std::mt19937& rng, int count, int grid) {
    std::uniform_int_distribution<int> coord(0, grid);
    std::vector<Point2> out;
    for (int i = 0; i < count; ++i) out.push_back(pt(coord(rng), coord(rng)));
    return out;
}

// Starts the loop at another of its points.
inline std::vector<Point2> rotated(std::vector<Point2> loop, std::size_t start) {
    if (!loop.empty()) std::rotate(loop.begin(), loop.begin() + static_cast<long>(start % loop.size()), loop.end());
    return loop;
}

// Columns of random widths and heights over the x axis, counter-clockwise.
// Equal neighbouring heights leave straight corners on the roof.
inline std::vector<Point2> skyline(std::mt19937& rng, int columns) {
    std::uniform_int_distribution<int> width(1, 3), height(1, 5);
    std::vector<std::int64_t> xs{0};
    std::vector<std::int64_t> hs;
    for (int c = 0; c < columns; ++c) {
        xs.push_back(xs.back() + width(rng));
        hs.push_back(height(rng));
    }
    std::vector<Point2> loop{pt(0, 0), pt(xs.back(), 0)};
    for (std::size_t c = static_cast<std::size_t>(columns); c-- > 0;) {
        Point2 right = pt(xs[c + 1], hs[c]);
        if (!(right == loop.back())) loop.push_back(right);
        loop.push_back(pt(xs[c], hs[c]));
    }
    return rotated(loop, std::uniform_int_distribution<std::size_t>(0, loop.size() - 1)(rng));
}

// Points with one in every open quadrant, sorted by angle around the
// origin, one point per direction: a simple outline, star-shaped from the
// origin, counter-clockwise.
inline std::vector<Point2> star(std::mt19937& rng, int per_quadrant) {
    std::uniform_int_distribution<int> coord(1, 6);
    std::vector<std::pair<std::int64_t, std::int64_t>> ps;
    const int sx[4] = {1, -1, -1, 1}, sy[4] = {1, 1, -1, -1};
    for (int q = 0; q < 4; ++q) {
        for (int k = 0; k < per_quadrant; ++k) ps.push_back({sx[q] * coord(rng), sy[q] * coord(rng)});
    }
    auto half = [](const auto& p) { return (p.second < 0 || (p.second == 0 && p.first < 0)) ? 1 : 0; };
    auto before = [&](const auto& p, const auto& q) {
        if (half(p) != half(q)) return half(p) < half(q);
        return p.first * q.second - p.second * q.first > 0;
    };
    std::sort(ps.begin(), ps.end(), before);
    std::vector<Point2> loop;
    for (std::size_t i = 0; i < ps.size(); ++i) {
        bool same_direction = i > 0 && !before(ps[i - 1], ps[i]);
        if (!same_direction) loop.push_back(pt(ps[i].first, ps[i].second));
    }
    return rotated(loop, std::uniform_int_distribution<std::size_t>(0, loop.size() - 1)(rng));
}

}  // namespace corv::testing_outlines
