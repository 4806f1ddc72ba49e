#include <gmp.h>

#include <cstdint>
#include <cstring>
#include <numeric>
#include <optional>
#include <string>
#include <vector>

#include "core/guard.h"
#include "core/panic.h"
#include "serial/checks.h"
#include "serial/serial.h"

namespace corv {
namespace {

constexpr std::size_t kHeader = 16, kTrailer = 8;

[[noreturn]] void corrupt(const std::string& what) {
    throw Panic(PanicKind::corrupt_data, "corrupt solid data: " + what);
}

// Reads the body front to back; every read checks the bytes left.
struct Reader {
    const std::uint8_t* at;
    const std::uint8_t* end;

    std::size_t left() const { return static_cast<std::size_t>(end - at); }
    std::uint8_t byte() {
        if (at == end) corrupt("it ends early");
        return *at++;
    }
    std::uint64_t varint() {
        std::uint64_t v = 0;
        for (int shift = 0; shift < 64; shift += 7) {
            std::uint8_t b = byte();
            if (shift == 63 && b > 1) corrupt("a number does not fit in 64 bits");
            v |= static_cast<std::uint64_t>(b & 0x7f) << shift;
            if ((b & 0x80) == 0) return v;
        }
        corrupt("a number does not fit in 64 bits");
    }
    // A count of items that take at least min_bytes each: never more than
    // the bytes left can hold, so sizing a table by it is safe.
    std::size_t count(std::size_t min_bytes, const char* what) {
        std::uint64_t n = varint();
        if (n > left() / min_bytes) corrupt(std::string("the ") + what + " count exceeds the data");
        return static_cast<std::size_t>(n);
    }
    std::size_t index(std::size_t size, const char* what) {
        std::uint64_t i = varint();
        if (i >= size) corrupt(std::string("a ") + what + " index is out of range");
        return static_cast<std::size_t>(i);
    }
    const std::uint8_t* take(std::size_t n) {
        if (n > left()) corrupt("it ends early");
        const std::uint8_t* p = at;
        at += n;
        return p;
    }
    Integer magnitude() {
        std::size_t n = count(1, "byte");
        const std::uint8_t* p = take(n);
        if (n > 0 && p[n - 1] == 0) corrupt("a number has a leading zero byte");
        Integer v;
        if (n > 0) mpz_import(v.get_mut(), n, -1, 1, -1, 0, p);
        return v;
    }
    Rational rational() {
        std::uint8_t tag = byte();
        if (tag == 0) {
            std::uint64_t z = varint();
            std::uint64_t d = varint();
            std::uint64_t mag = z >> 1;  // |n| for n >= 0, |n| - 1 for n < 0
            // An inline value has |n| < 2^63 and 0 < d < 2^63.
            if (d == 0 || d >= (std::uint64_t{1} << 63) || ((z & 1) && mag >= (std::uint64_t{1} << 63) - 1)) {
                corrupt("a small fraction is out of range");
            }
            std::int64_t n = (z & 1) ? -static_cast<std::int64_t>(mag) - 1 : static_cast<std::int64_t>(mag);
            std::uint64_t an = (z & 1) ? mag + 1 : mag;
            if (std::gcd(an, d) != 1) corrupt("a fraction is not in lowest terms");
            if (d == 1) return Rational(n);
            return Rational(n) / Rational(static_cast<std::int64_t>(d));
        }
        if (tag != 1 && tag != 2) corrupt("a number has an unknown tag");
        Integer n = magnitude();
        Integer d = magnitude();
        if (d.is_zero()) corrupt("a denominator is zero");
        if (!(gcd(n, d) == Integer(1))) corrupt("a fraction is not in lowest terms");
        if (tag == 2) n = -n;
        return Rational(n, d);
    }
};

void check_header(std::span<const std::uint8_t> bytes) {
    if (bytes.size() < kHeader + kTrailer) corrupt("too short to hold a solid");
    if (std::memcmp(bytes.data(), "CORVSD", 6) != 0) corrupt("not a stored solid");
    const unsigned version = bytes[6] | (static_cast<unsigned>(bytes[7]) << 8);
    if (version != serial_version) corrupt("unsupported version " + std::to_string(version));
    std::uint64_t body = 0;
    for (int i = 0; i < 8; ++i) body |= static_cast<std::uint64_t>(bytes[8 + static_cast<std::size_t>(i)]) << (8 * i);
    if (body != bytes.size() - kHeader - kTrailer) corrupt("the length does not match (truncated or extended)");
    std::uint64_t stored = 0;
    for (std::size_t i = 0; i < 8; ++i) stored |= static_cast<std::uint64_t>(bytes[bytes.size() - 8 + i]) << (8 * i);
    if (stored != checksum64(bytes.first(bytes.size() - kTrailer))) corrupt("the checksum does not match");
}

}  // namespace

Solid decode(std::span<const std::uint8_t> bytes) {
    check_header(bytes);
    Reader r{bytes.data() + kHeader, bytes.data() + bytes.size() - kTrailer};

    std::vector<Rational> values(r.count(2, "number"));
    for (Rational& v : values) {
        v = r.rational();
        guard::poll();
    }

    std::vector<std::string> labels(r.count(1, "label"));
    for (std::string& s : labels) {
        std::size_t n = r.count(1, "label byte");
        const std::uint8_t* p = r.take(n);
        s.assign(reinterpret_cast<const char*>(p), n);
    }

    const std::size_t point_count = r.count(3, "point");
    std::vector<Vec3> points;
    std::vector<Float3> float_points;
    std::vector<std::optional<IntForm>> point_forms;
    points.reserve(point_count);
    float_points.reserve(point_count);
    point_forms.reserve(point_count);
    for (std::size_t i = 0; i < point_count; ++i) {
        const Rational& x = values[r.index(values.size(), "number")];
        const Rational& y = values[r.index(values.size(), "number")];
        const Rational& z = values[r.index(values.size(), "number")];
        points.push_back(Vec3{x, y, z});
        float_points.push_back(to_f3(points.back()));
        point_forms.push_back(int_form(points.back()));
        guard::poll();
    }

    const std::size_t plane_count = r.count(4, "plane");
    std::vector<Plane> planes;
    std::vector<std::optional<IntForm>> plane_forms;
    std::vector<std::size_t> plane_axes;
    planes.reserve(plane_count);
    plane_axes.reserve(plane_count);
    plane_forms.reserve(plane_count);
    for (std::size_t i = 0; i < plane_count; ++i) {
        Plane p;
        p.normal.x = values[r.index(values.size(), "number")];
        p.normal.y = values[r.index(values.size(), "number")];
        p.normal.z = values[r.index(values.size(), "number")];
        p.offset = values[r.index(values.size(), "number")];
        if (p.normal.x.is_zero() && p.normal.y.is_zero() && p.normal.z.is_zero()) corrupt("a plane has no normal");
        plane_forms.push_back(int_form(p));
        plane_axes.push_back(dominant_axis(p));
        planes.push_back(std::move(p));
    }

    Solid solid;
    solid.polygons.resize(r.count(6, "polygon"));
    // One pass over the polygons, a plain loop with no state carried between
    // iterations beyond the reader's position.
    const std::size_t polygon_count = solid.polygons.size();
    std::size_t done = 0;
    for (Polygon& poly : solid.polygons) {
        if (done++ % 1024 == 0) guard::progress("load", done - 1, polygon_count);
        const std::size_t plane = r.index(planes.size(), "plane");
        const std::size_t label = r.index(labels.size(), "label");
        const std::size_t n = r.count(1, "vertex");
        if (n < 3) corrupt("a polygon has fewer than three vertices");
        std::vector<Vec3> loop;
        std::vector<Float3> loop_floats;
        loop.reserve(n);
        loop_floats.reserve(n);
        for (std::size_t j = 0; j < n; ++j) {
            const std::size_t i = r.index(points.size(), "point");
            if (!on_plane(planes[plane], plane_forms[plane], points[i], point_forms[i])) {
                corrupt("a vertex is off its polygon's plane");
            }
            loop.push_back(points[i]);
            loop_floats.push_back(float_points[i]);
        }
        poly = Polygon::assemble(std::move(loop), std::move(loop_floats), planes[plane], labels[label]);
        if (!turns_with_plane(poly, plane_axes[plane])) corrupt("a polygon is degenerate or turns against its plane");
        guard::poll(static_cast<std::int64_t>(n));
    }
    if (r.left() != 0) corrupt("bytes follow the last polygon");
    return solid;
}

}  // namespace corv
