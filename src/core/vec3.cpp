#include "core/vec3.h"

#include <charconv>
#include <cstdint>
#include <utility>

#include "core/panic.h"

namespace corv {

void coordinate_out_of_range(std::size_t i) {
    throw Panic(PanicKind::index, "index out of range: a point has 3 coordinates, index " + std::to_string(i));
}

Vec3 add(const Vec3& a, const Vec3& b) { return {a.x + b.x, a.y + b.y, a.z + b.z}; }
Vec3 sub(const Vec3& a, const Vec3& b) { return {a.x - b.x, a.y - b.y, a.z - b.z}; }
Vec3 neg(const Vec3& a) { return {-a.x, -a.y, -a.z}; }
Vec3 smul(const Rational& s, const Vec3& a) { return {s * a.x, s * a.y, s * a.z}; }
// Zero terms are skipped: axis-aligned normals and points on the axes are common.
Rational dot(const Vec3& a, const Vec3& b) {
    Rational s;
    for (std::size_t k = 0; k < 3; ++k) {
        if (a[k].is_zero() || b[k].is_zero()) continue;
        if (s.is_zero()) {
            s = a[k] * b[k];
        } else {
            s += a[k] * b[k];
        }
    }
    return s;
}

Vec3 cross(const Vec3& a, const Vec3& b) {
    return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}

Rational norm1(const Vec3& a) { return abs(a.x) + abs(a.y) + abs(a.z); }

Float3 to_f3(const Vec3& a) { return {a.x.to_double(), a.y.to_double(), a.z.to_double()}; }

namespace {

// Writes v in decimal at `at`, which has room for 20 characters (the most
// a 64-bit integer needs), and returns the end.
char* put_integer(char* at, std::int64_t v) { return std::to_chars(at, at + 20, v).ptr; }

}  // namespace

void append_point_text(std::string& out, const Vec3& p) {
    const auto x = p.x.small_parts(), y = p.y.small_parts(), z = p.z.small_parts();
    if (x && y && z) {
        // Written into one buffer and appended once: each coordinate is at
        // most 41 characters with its '/', each comma one more.
        char buf[3 * 41 + 2];
        char* at = buf;
        const std::pair<std::int64_t, std::int64_t>* parts[3] = {&*x, &*y, &*z};
        for (std::size_t k = 0; k < 3; ++k) {
            if (k) *at++ = ',';
            at = put_integer(at, parts[k]->first);
            *at++ = '/';
            at = put_integer(at, parts[k]->second);
        }
        out.append(buf, at);
        return;
    }
    p.x.append_text(out);
    out += ',';
    p.y.append_text(out);
    out += ',';
    p.z.append_text(out);
}

std::string point_text(const Vec3& p) {
    std::string out;
    append_point_text(out, p);
    return out;
}

}  // namespace corv
