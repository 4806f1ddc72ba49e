#include "core/vec3.h"

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

void append_point_text(std::string& out, const Vec3& p) {
    // Small coordinates are written into one buffer and appended at once.
    char buf[3 * Rational::kSmallTextMax + 2];
    char* at = p.x.put_small_text(buf);
    if (at != nullptr) {
        *at++ = ',';
        at = p.y.put_small_text(at);
    }
    if (at != nullptr) {
        *at++ = ',';
        at = p.z.put_small_text(at);
    }
    if (at != nullptr) {
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

std::string plain_point_text(const Vec3& p) {
    std::string out = "(";
    out += p.x.plain_text();
    out += ", ";
    out += p.y.plain_text();
    out += ", ";
    out += p.z.plain_text();
    out += ')';
    return out;
}

}  // namespace corv
