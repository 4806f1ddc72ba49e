// The benchmark workloads, built in C++: plates drilled with round holes,
// unions of shifted boxes, chamfers and a box cut. The tests fingerprint
// their results and the C++ benchmarks time them.
#pragma once

#include <string>
#include <vector>

#include "bsp/boolean.h"
#include "builders/prism.h"
#include "chamfer/chamfer.h"
#include "core/solid.h"
#include "core/transforms.h"

namespace corv::workloads {

// 16 exact rational points on the circle of radius 3/5 around (cx, cy),
// counter-clockwise.
inline std::vector<Point2> circle_outline(std::int64_t cx, std::int64_t cy) {
    const Rational radius = Rational(3) / Rational(5);
    std::vector<std::pair<Rational, Rational>> quarter;
    for (int j = 0; j < 4; ++j) {
        Rational t = Rational(j) / Rational(4);
        Rational d = Rational(1) + t * t;
        quarter.push_back({(Rational(1) - t * t) / d, Rational(2) * t / d});
    }
    std::vector<Point2> outline;
    for (int turn = 0; turn < 4; ++turn) {
        for (auto [x, y] : quarter) {
            for (int r = 0; r < turn; ++r) {
                Rational nx = -y;
                y = x;
                x = nx;
            }
            outline.push_back({Rational(cx) + radius * x, Rational(cy) + radius * y});
        }
    }
    return outline;
}

// The (2k+2) x (2k+2) x 1 plate.
inline Solid plate_blank(int k) { return Solid::cube(Rational(2 * k + 2), Rational(2 * k + 2), Rational(1), "plate"); }

// The k x k round holes of the plate, row by row: prisms of height 3 from
// z = -1, so that they pass through it.
inline std::vector<Solid> plate_holes(int k) {
    std::vector<Solid> holes;
    for (int i = 0; i < k; ++i) {
        for (int j = 0; j < k; ++j) {
            Solid hole = make_prism(circle_outline(2 * i + 2, 2 * j + 2), Rational(3),
                                    "hole" + std::to_string(i) + std::to_string(j));
            holes.push_back(translated(hole, Vec3{0, 0, -1}));
        }
    }
    return holes;
}

// a op b, passing the tree shape along as the Python surface does when
// shaped (the result must be the same either way).
inline void apply(ShapedSolid& acc, BooleanOp op, const Solid& b, bool shaped) {
    if (!shaped) {
        acc.solid = boolean(op, acc.solid, b);
        return;
    }
    acc = boolean(op, acc.solid, acc.tree_shape.get(), b, nullptr);
}

// The plate minus its holes, one cut per hole.
inline Solid plate(int k, bool shaped = false) {
    ShapedSolid p{plate_blank(k), nullptr};
    for (const Solid& hole : plate_holes(k)) apply(p, BooleanOp::cut, hole, shaped);
    return std::move(p.solid);
}

// Unit boxes b0 ... b(n-1), box i moved by (i/3, i/5, i/7).
inline std::vector<Solid> shifted_boxes(int n) {
    std::vector<Solid> boxes;
    for (int i = 0; i < n; ++i) {
        Solid box = Solid::cube(1, 1, 1, std::string("b").append(std::to_string(i)));
        Vec3 t{Rational(i) / Rational(3), Rational(i) / Rational(5), Rational(i) / Rational(7)};
        boxes.push_back(i == 0 ? std::move(box) : translated(box, t));
    }
    return boxes;
}

// The shifted boxes united in turn.
inline Solid box_union(int n, bool shaped = false) {
    std::vector<Solid> boxes = shifted_boxes(n);
    ShapedSolid acc{std::move(boxes[0]), nullptr};
    for (std::size_t i = 1; i < boxes.size(); ++i) apply(acc, BooleanOp::union_, boxes[i], shaped);
    return std::move(acc.solid);
}

inline Solid chamfered_box() { return chamfer(Solid::cube(3, 2, 1, "b"), Rational(1) / Rational(10)); }

inline Solid chamfered_l_prism() {
    std::vector<Point2> outline{{0, 0}, {2, 0}, {2, 1}, {1, 1}, {1, 2}, {0, 2}};
    return chamfer(make_prism(std::move(outline), Rational(1), "l"), Rational(1) / Rational(10));
}

// [0,2]^3 minus [1,3]^3.
inline Solid box_cut() {
    return boolean(BooleanOp::cut, Solid::cube(2, 2, 2, "A"), translated(Solid::cube(2, 2, 2, "B"), Vec3{1, 1, 1}));
}

}  // namespace corv::workloads
