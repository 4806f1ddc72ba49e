// Seeded random Boolean programs (boxes, prisms with random outlines,
// prismatoids, exact transforms, chains of all three operations with
// identical, touching and coplanar operands): at every step the localized
// engine's result is watertight, has the BSP result's exact volume and the
// same point set. Each step starts from the BSP engine's previous result (a
// soup with T-junctions); a second chain feeds the local results onward.
#include <gtest/gtest.h>

#include <algorithm>

#include "builders/prism.h"
#include "core/panic.h"
#include "core/transforms.h"
#include "local/check.h"

namespace corv {
namespace {

using testing_local::agrees_with_bsp;
using testing_local::op_name;

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

Rational q(std::int64_t n, std::int64_t d) { return Rational(n) / Rational(d); }

// Mostly halves, so faces of different operands often coincide or touch.
Rational coordinate(Rng& r) {
    static const int dens[] = {2, 2, 2, 1, 3, 4};
    return q(r.between(-4, 4), dens[r.below(6)]);
}

Rational size(Rng& r) {
    static const int nums[] = {1, 2, 3, 4, 6, 1};
    static const int dens[] = {2, 2, 1, 2, 2, 3};
    const int k = r.below(6);
    return q(nums[k], dens[k]);
}

// A star-shaped outline around (cx, cy), counter-clockwise.
Texts star_outline(Rng& r, const Rational& cx, const Rational& cy) {
    static const int dirs[8][2] = {{2, 0}, {2, 1}, {1, 2}, {0, 2}, {-1, 2}, {-2, 1}, {-2, 0}, {-1, -2}};
    Texts out;
    const int start = r.below(8);
    for (int i = 0; i < 8; ++i) {
        const int* d = dirs[(start + i) % 8];
        if (r.below(3) == 0 && i > 2) continue;
        const Rational scale = q(r.between(1, 4), 4);
        out.push_back((cx + scale * Rational(d[0])).text());
        out.push_back((cy + scale * Rational(d[1])).text());
    }
    return out;
}

Solid transformed(Rng& r, Solid s) {
    const int count = r.below(3);
    for (int i = 0; i < count; ++i) {
        switch (r.below(4)) {
            case 0: s = translated(s, Vec3{coordinate(r), coordinate(r), coordinate(r)}); break;
            case 1: s = rotated_quarter(s, static_cast<std::uint64_t>(r.below(3)), r.between(-3, 3)); break;
            case 2: s = mirrored(s, static_cast<std::uint64_t>(r.below(3))); break;
            default: {
                static const int nums[] = {1, 2, 1, -1, 3};
                static const int dens[] = {1, 1, 2, 1, 2};
                auto f = [&] {
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

// Whether every cap triangle faces the way its cap does and the solid has
// volume: outlines that skip half a turn can fold over or lie on a line, and
// such a prism is no solid to compare (the BSP engine takes a flat operand
// for empty space or for all of it).
bool caps_face_out(const Solid& s) {
    if (volume6(s.polygons).sign() <= 0) return false;
    for (const Polygon& p : s.polygons) {
        const int z = p.plane.normal.z.sign();
        if (p.label.ends_with(".bottom") && z >= 0) return false;
        if (p.label.ends_with(".top") && z <= 0) return false;
    }
    return true;
}

Solid operand(Rng& r, const std::string& prefix) {
    const int kind = r.below(10);
    Solid s;
    const Rational cx = coordinate(r), cy = coordinate(r);
    if (kind < 5) {
        Rational dx = size(r), dy = size(r), dz = size(r);
        s = translated(Solid::cube(dx, dy, dz, prefix), Vec3{cx, cy, coordinate(r)});
    } else if (kind < 8) {
        s = make_prism(star_outline(r, cx, cy), size(r).text(), prefix);
        if (!caps_face_out(s)) s = Solid::cube(1, 2, 1, prefix);
    } else {
        Texts bottom = star_outline(r, cx, cy), top;
        const Rational shrink = q(r.between(1, 4), 4);
        for (std::size_t i = 0; i + 1 < bottom.size(); i += 2) {
            top.push_back((cx + shrink * (parse_r(bottom[i]) - cx)).text());
            top.push_back((cy + shrink * (parse_r(bottom[i + 1]) - cy)).text());
        }
        const Rational z0 = coordinate(r), h = size(r);
        s = make_prismatoid(bottom, z0.text(), top, (z0 + h).text(), prefix);
        if (!caps_face_out(s)) s = Solid::cube(2, 1, 1, prefix);
    }
    return transformed(r, std::move(s));
}

// Runs program `seed`; returns the number of steps checked.
int run_program(std::uint64_t seed) {
    static const BooleanOp ops[] = {BooleanOp::union_, BooleanOp::cut, BooleanOp::intersect};
    Rng r{seed * 7919u + 5u};
    Solid s = operand(r, "a");
    Solid mine = s;  // the chain of local results
    const int steps = r.between(1, 4);
    if (s.polygons.empty()) return 0;
    for (int i = 0; i < steps; ++i) {
        const BooleanOp op = ops[r.below(3)];
        Solid other;
        switch (r.below(6)) {
            case 0: other = s; break;  // identical operand
            case 1: {                  // a copy moved along one axis: touching or overlapping
                Vec3 t{0, 0, 0};
                t[static_cast<std::size_t>(r.below(3))] = q(r.between(-4, 4), 2);
                other = translated(s, t);
                break;
            }
            default: other = operand(r, "o" + std::to_string(i));
        }
        const Solid bsp = boolean_impl(op_name(op), s, other);
        const Solid local = local_boolean(op, s, other);
        EXPECT_TRUE(agrees_with_bsp(local, bsp, true)) << "program " << seed << " step " << i << " " << op_name(op);
        mine = local_boolean(op, mine, other);
        EXPECT_TRUE(watertight_ok(mine)) << "program " << seed << " step " << i;
        EXPECT_EQ(volume6(mine.polygons), volume6(bsp.polygons)) << "program " << seed << " step " << i;
        EXPECT_TRUE(same_shape(mine, local)) << "program " << seed << " step " << i;
        // The BSP engine takes an empty operand for all of space: chains stop there.
        if (bsp.polygons.empty()) return i + 1;
        s = bsp;
    }
    return steps;
}

TEST(LocalPrograms, AgreeWithTheBspEngine) {
    int steps = 0;
    for (std::uint64_t seed = 0; seed < 150; ++seed) steps += run_program(seed);
    EXPECT_GT(steps, 250);
}

TEST(LocalPrograms, ManyMoreAgree) {
    if (testing_local::heavy_skipped()) GTEST_SKIP() << "heavy: left out under the sanitizers";
    int steps = 0;
    for (std::uint64_t seed = 150; seed < 1000; ++seed) steps += run_program(seed);
    EXPECT_GT(steps, 1500);
}

}  // namespace
}  // namespace corv
