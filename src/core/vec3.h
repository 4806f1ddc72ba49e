// Vec3: three exact coordinates, used both as a point and as a direction.
#pragma once

#include <array>
#include <cstddef>
#include <string>

#include "core/rational.h"

namespace corv {

[[noreturn]] void coordinate_out_of_range(std::size_t i);

struct Vec3 {
    Rational x, y, z;

    // Coordinate i (0, 1 or 2); any other index throws Panic (kind index).
    const Rational& operator[](std::size_t i) const {
        if (i == 0) return x;
        if (i == 1) return y;
        if (i == 2) return z;
        coordinate_out_of_range(i);
    }
    Rational& operator[](std::size_t i) {
        if (i == 0) return x;
        if (i == 1) return y;
        if (i == 2) return z;
        coordinate_out_of_range(i);
    }
    friend bool operator==(const Vec3&, const Vec3&) = default;
};

using Float3 = std::array<double, 3>;

Vec3 add(const Vec3& a, const Vec3& b);
Vec3 sub(const Vec3& a, const Vec3& b);
Vec3 neg(const Vec3& a);
Vec3 smul(const Rational& s, const Vec3& a);
Rational dot(const Vec3& a, const Vec3& b);
Vec3 cross(const Vec3& a, const Vec3& b);
Rational norm1(const Vec3& a);
Float3 to_f3(const Vec3& a);
// Widens the box [lo, hi] to hold f, axis by axis.
inline void widen(Float3& lo, Float3& hi, const Float3& f) {
    for (std::size_t i = 0; i < 3; ++i) {
        if (f[i] < lo[i]) lo[i] = f[i];
        if (f[i] > hi[i]) hi[i] = f[i];
    }
}

// Point text: "x,y,z" with every coordinate in the n/d form.
std::string point_text(const Vec3& p);
void append_point_text(std::string& out, const Vec3& p);
// The point as people write it, for messages: "(1, 0, 1/2)".
std::string plain_point_text(const Vec3& p);

}  // namespace corv
