// Seeded random solids for property tests: boxes, prisms and prismatoids on
// coarse rational grids (so faces of different operands often coincide or
// touch), moved and scaled exactly, combined by chains of Booleans and now
// and then chamfered. Every intermediate result is handed to a callback.
#pragma once

#include <algorithm>
#include <cstdint>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "bsp/boolean.h"
#include "builders/prism.h"
#include "chamfer/chamfer.h"
#include "core/panic.h"
#include "core/transforms.h"

namespace corv::testing_random {

// splitmix64: the programs must not depend on the standard library's distributions.
struct Rng {
    std::uint64_t s;
    std::uint64_t next() {
        std::uint64_t z = (s += 0x9e3779b97f4a7c15ull);
        z = (z ^ (z >> 30)) * 0xbf58476d1ce4e5b9ull;
        z = (z ^ (z >> 27)) * 0x94d049bb133111ebull;
        return z ^ (z >> 31);
    }
    int below(int n) { return static_cast<int>(next() % static_cast<std::uint64_t>(n)); }
    int between(int lo, int hi) { return lo + below(hi - lo + 1); }
};

inline Rational frac(std::int64_t n, std::int64_t d) { return Rational(n) / Rational(d); }

inline Rational grid_coordinate(Rng& r) {
    static const int dens[] = {2, 2, 1, 3, 4};
    return frac(r.between(-4, 4), dens[r.below(5)]);
}

// Now and then negative (an inside-out box) or zero (a flat one).
inline Rational grid_size(Rng& r) {
    static const int nums[] = {1, 2, 3, 4, 6, 1};
    static const int dens[] = {2, 2, 1, 2, 2, 3};
    const int k = r.below(6);
    if (r.below(50) == 0) return frac(-1, 1);
    if (r.below(80) == 0) return Rational(0);
    return frac(nums[k], dens[k]);
}

// A counter-clockwise star around (cx, cy): points at increasing angles,
// never more than a half turn apart, so the outline is simple.
inline std::vector<Point2> star(Rng& r, const Rational& cx, const Rational& cy) {
    static const int dirs[8][2] = {{2, 0}, {2, 1}, {1, 2}, {0, 2}, {-1, 2}, {-2, 1}, {-2, 0}, {-1, -2}};
    std::vector<Point2> out;
    int start = r.below(8), count = 0;
    bool skipped = true;  // the first direction is always taken
    for (int i = 0; i < 8; ++i) {
        skipped = !skipped && r.below(4) == 0;
        if (skipped) continue;
        const int* d = dirs[(start + i) % 8];
        Rational scale = frac(r.between(1, 4), 4);
        out.push_back({cx + scale * Rational(d[0]), cy + scale * Rational(d[1])});
        ++count;
    }
    return out;
}

inline Solid moved(Rng& r, Solid s) {
    for (int i = r.below(3); i > 0; --i) {
        switch (r.below(4)) {
            case 0: s = rotated_quarter(s, static_cast<std::uint64_t>(r.below(3)), r.between(-3, 3)); break;
            case 1: s = mirrored(s, static_cast<std::uint64_t>(r.below(3))); break;
            case 2: s = scaled(s, frac(r.between(1, 3), 2), frac(r.between(1, 3), 2), frac(r.between(1, 3), 2)); break;
            default: s = translated(s, Vec3{grid_coordinate(r), grid_coordinate(r), grid_coordinate(r)});
        }
    }
    return s;
}

inline Solid random_operand(Rng& r, const std::string& prefix) {
    const int kind = r.below(10);
    Rational cx = grid_coordinate(r), cy = grid_coordinate(r);
    if (kind < 5) return moved(r, Solid::cube(grid_size(r), grid_size(r), grid_size(r), prefix));
    std::vector<Point2> bottom = star(r, cx, cy);
    if (kind < 8) return moved(r, make_prism(std::move(bottom), grid_size(r), prefix));
    std::vector<Point2> top;
    const Rational shrink = frac(r.between(1, 4), 4);
    for (const Point2& p : bottom) top.push_back({cx + shrink * (p.x - cx), cy + shrink * (p.y - cy)});
    Rational z0 = grid_coordinate(r), h = grid_size(r);
    return moved(r, make_prismatoid(std::move(bottom), z0, std::move(top), z0 + h, prefix));
}

// Runs program `seed`: an operand, one to four Booleans with fresh operands,
// copies of itself or shifted copies, and sometimes a chamfer. Each result
// goes to `visit`; a program whose Boolean or chamfer fails stops there.
inline void run_random_program(std::uint64_t seed, const std::function<void(const Solid&)>& visit) {
    static const BooleanOp ops[] = {BooleanOp::union_, BooleanOp::cut, BooleanOp::intersect};
    Rng r{seed * 104729u + 3u};
    try {
        Solid s = random_operand(r, "a");
        visit(s);
        for (int i = r.between(1, 4); i > 0; --i) {
            Solid other;
            switch (r.below(8)) {
                case 0: other = s; break;
                case 1: {
                    Vec3 t{0, 0, 0};
                    t[static_cast<std::size_t>(r.below(3))] = frac(r.between(-4, 4), 2);
                    other = translated(s, t);
                    break;
                }
                default: other = random_operand(r, std::string("o").append(std::to_string(i)));
            }
            s = boolean(ops[r.below(3)], s, other);
            visit(s);
        }
        if (r.below(6) == 0 && !s.polygons.empty() && s.polygons.size() <= 60) {
            s = chamfer(s, frac(1, r.between(5, 10)));
            visit(s);
        }
    } catch (const Panic&) {
    } catch (const ValueFailure&) {}
}

}  // namespace corv::testing_random
