// Seeded random solids for property tests: boxes, prisms and prismatoids on
// coarse rational grids (so faces of different operands often coincide or
// touch), now and then inside out or flat, moved, mirrored and scaled
// exactly, and programs that combine them by chains of Booleans and now and
// then a chamfer. The golden fingerprints (tests/cpp/bsp/golden.txt) are
// taken over these programs: any change to the draws changes every program
// after it, so the golden test fails on it.
#pragma once

#include <algorithm>
#include <cstdint>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "bsp/boolean.h"
#include "builders/prism.h"
#include "canonical/watertight.h"
#include "chamfer/chamfer.h"
#include "core/transforms.h"

namespace corv::testing_random {

// A small deterministic generator (splitmix64): the programs must not
// depend on the standard library's distributions.
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

inline Rational q(std::int64_t n, std::int64_t d) { return Rational(n) / Rational(d); }

// Mostly halves, so faces of different operands often coincide or touch.
inline Rational coordinate(Rng& r) {
    static const int dens[] = {2, 2, 2, 1, 3, 4};
    return q(r.between(-4, 4), dens[r.below(6)]);
}

inline Rational size(Rng& r) {
    static const int nums[] = {1, 2, 3, 4, 6, 1};
    static const int dens[] = {2, 2, 1, 2, 2, 3};
    const int k = r.below(6);
    if (r.below(40) == 0) return q(-1, 1);     // inside-out
    if (r.below(60) == 0) return Rational(0);  // flat
    return q(nums[k], dens[k]);
}

// A star-shaped outline around (cx, cy): points at sorted angles on a
// coarse grid, sometimes clockwise. (One draw in ten once appended an
// unpaired text that was never read; the draw is kept so that the programs
// stay the same.)
inline std::vector<Point2> star_outline(Rng& r, const Rational& cx, const Rational& cy) {
    static const int dirs[8][2] = {{2, 0}, {2, 1}, {1, 2}, {0, 2}, {-1, 2}, {-2, 1}, {-2, 0}, {-1, -2}};
    const int count = r.between(3, 8);
    std::vector<std::pair<Rational, Rational>> pts;
    int start = r.below(8);
    for (int i = 0; i < 8 && static_cast<int>(pts.size()) < count; ++i) {
        const int* d = dirs[(start + i) % 8];
        if (r.below(3) == 0) continue;
        Rational scale = q(r.between(1, 4), 4);
        pts.push_back({cx + scale * Rational(d[0]), cy + scale * Rational(d[1])});
    }
    // The directions turn counter-clockwise; reversed, the outline runs clockwise.
    if (r.below(4) == 0) std::reverse(pts.begin(), pts.end());
    std::vector<Point2> out;
    out.reserve(pts.size());
    for (auto& [x, y] : pts) out.push_back({std::move(x), std::move(y)});
    static_cast<void>(r.below(10));
    return out;
}

inline Solid transformed(Rng& r, Solid s) {
    const int count = r.below(3);
    for (int i = 0; i < count; ++i) {
        switch (r.below(5)) {
            case 0:
            case 1: s = translated(s, Vec3{coordinate(r), coordinate(r), coordinate(r)}); break;
            case 2: s = rotated_quarter(s, static_cast<std::uint64_t>(r.below(3)), r.between(-3, 3)); break;
            case 3: s = mirrored(s, static_cast<std::uint64_t>(r.below(3))); break;
            default: {
                static const int nums[] = {1, 2, 1, -1, 3};
                static const int dens[] = {1, 1, 2, 1, 2};
                auto f = [&] {
                    if (r.below(80) == 0) return Rational(0);
                    const int k = r.below(5);
                    return q(nums[k], dens[k]);
                };
                Rational fx = f(), fy = f(), fz = f();
                s = scaled(s, fx, fy, fz);
            }
        }
    }
    return s;
}

// A box, a prism or a prismatoid, in place (not yet transformed).
inline Solid shape(Rng& r, const std::string& prefix) {
    const int kind = r.below(10);
    if (kind < 5) {
        Rational dx = size(r), dy = size(r), dz = size(r);
        return Solid::cube(dx, dy, dz, prefix);
    }
    Rational cx = coordinate(r), cy = coordinate(r);
    std::vector<Point2> bottom = star_outline(r, cx, cy);
    if (kind < 8) return make_prism(std::move(bottom), size(r), prefix);
    std::vector<Point2> top;
    const Rational shrink = q(r.between(1, 4), 4);
    for (const Point2& p : bottom) top.push_back({cx + shrink * (p.x - cx), cy + shrink * (p.y - cy)});
    Rational z0 = coordinate(r), h = size(r);
    return make_prismatoid(std::move(bottom), z0, std::move(top), z0 + h, prefix);
}

inline Solid operand(Rng& r, const std::string& prefix) { return transformed(r, shape(r, prefix)); }

// Whether a shape comes from a simple outline: it is closed, every cap
// triangle faces the way its cap does (the bottom's down, the top's up),
// and no two faces stand back to back in one plane. An outline that skips
// more than half a turn can cross itself, fold over or double back along a
// line: its caps then leave edges open or face both ways, or a side becomes
// a fin of no thickness. Boxes, and inside-out or flat shapes of a simple
// outline, pass.
inline bool simple_shape(const Solid& s) {
    for (const Polygon& p : s.polygons) {
        const int z = p.plane.normal.z.sign();
        if (p.label.ends_with(".bottom") && z >= 0) return false;
        if (p.label.ends_with(".top") && z <= 0) return false;
    }
    for (const Polygon& p : s.polygons) {
        for (const Polygon& o : s.polygons) {
            const bool back_to_back = cross(p.plane.normal, o.plane.normal) == Vec3{} &&
                                      dot(p.plane.normal, o.plane.normal).sign() < 0 &&
                                      p.plane.side(o.vertices()[0]) == 0;
            if (back_to_back) return false;
        }
    }
    return watertight_ok(s);
}

// An operand of a simple outline: a shape that is not becomes a box, with
// the same draws as operand().
inline Solid simple_operand(Rng& r, const std::string& prefix) {
    Solid s = shape(r, prefix);
    if (!simple_shape(s)) s = Solid::cube(1, 2, 1, prefix);
    return transformed(r, std::move(s));
}

using OperandMaker = Solid (*)(Rng&, const std::string&);

// The other operand of step i of a program on s, one draw in `choices`
// each: s itself, a copy of s moved along one axis (touching or
// overlapping it), else a fresh operand named "o<i>".
inline Solid other_operand(Rng& r, const Solid& s, int i, int choices, OperandMaker make_operand) {
    switch (r.below(choices)) {
        case 0: return s;
        case 1: {
            Vec3 t{0, 0, 0};
            t[static_cast<std::size_t>(r.below(3))] = q(r.between(-4, 4), 2);
            return translated(s, t);
        }
        default: return make_operand(r, std::string("o").append(std::to_string(i)));
    }
}

// Program number seed: an operand, then one to four Booleans with fresh
// operands, the result itself or a copy of it moved along one axis, and
// now and then a chamfer. Every result, the first operand included, goes
// to visit. A Panic or ValueFailure of a Boolean or the chamfer ends the
// program and reaches the caller. Operands come from make_operand.
// With shaped, each Boolean's result passes its tree shape on to the next
// Boolean, as on the Python surface; the results must be the same.
inline void random_program(std::uint64_t seed, const std::function<void(const Solid&)>& visit,
                           OperandMaker make_operand = operand, bool shaped = false) {
    static const BooleanOp ops[] = {BooleanOp::union_, BooleanOp::cut, BooleanOp::intersect};
    Rng r{seed * 7919u + 17u};
    Solid s = make_operand(r, "a");
    std::shared_ptr<const bsp::TreeShape> shape;
    visit(s);
    const int steps = r.between(1, 4);
    for (int i = 0; i < steps; ++i) {
        const BooleanOp op = ops[r.below(3)];
        const Solid other = other_operand(r, s, i, 8, make_operand);
        if (shaped) {
            ShapedSolid next = boolean(op, s, shape.get(), other, nullptr);
            s = std::move(next.solid);
            shape = std::move(next.tree_shape);
        } else {
            s = boolean(op, s, other);
        }
        visit(s);
    }
    if (r.below(8) == 0 && !s.polygons.empty() && s.polygons.size() <= 60) {
        static const int nums[] = {1, 1, 1, -1};
        static const int dens[] = {10, 8, 5, 10};
        const int k = r.below(4);
        s = chamfer(s, q(nums[k], dens[k]));
        visit(s);
    }
}

}  // namespace corv::testing_random
