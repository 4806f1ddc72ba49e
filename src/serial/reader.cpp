#include "serial/reader.h"

#include <gmp.h>

#include <algorithm>
#include <cstring>
#include <limits>
#include <numeric>
#include <optional>
#include <utility>

#include "core/guard.h"
#include "serial/refusal.h"
#include "serial/serial.h"

namespace corv {
namespace {

constexpr std::size_t kHeader = 16, kTrailer = 8;
constexpr std::uint64_t kInlineMax = std::numeric_limits<std::int64_t>::max();

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
        if (n > left() / min_bytes || n > std::numeric_limits<std::uint32_t>::max()) {
            corrupt(std::string("the ") + what + " count exceeds the data");
        }
        return static_cast<std::size_t>(n);
    }
    std::uint32_t index(std::size_t size, const char* what) {
        std::uint64_t i = varint();
        if (i >= size) {
            corrupt(std::string("a ") + what + " index " + std::to_string(i) + " is out of range (there are " +
                    std::to_string(size) + ")");
        }
        return static_cast<std::uint32_t>(i);
    }
    const std::uint8_t* take(std::size_t n) {
        if (n > left()) corrupt("it ends early");
        const std::uint8_t* p = at;
        at += n;
        return p;
    }
    Integer magnitude(std::size_t& bytes) {
        bytes = count(1, "byte");
        const std::uint8_t* p = take(bytes);
        if (bytes > 0 && p[bytes - 1] == 0) corrupt("a number has a leading zero byte");
        Integer v;
        if (bytes > 0) mpz_import(v.get_mut(), bytes, -1, 1, -1, 0, p);
        return v;
    }
    Rational small_rational() {
        std::uint64_t z = varint();
        std::uint64_t d = varint();
        std::uint64_t mag = z >> 1;  // |n| for n >= 0, |n| - 1 for n < 0
        // An inline value has |n| < 2^63 and 0 < d < 2^63.
        if (d == 0 || d > kInlineMax || ((z & 1) && mag >= kInlineMax)) corrupt("a small fraction is out of range");
        std::int64_t n = (z & 1) ? -static_cast<std::int64_t>(mag) - 1 : static_cast<std::int64_t>(mag);
        std::uint64_t an = (z & 1) ? mag + 1 : mag;
        if (std::gcd(an, d) != 1) corrupt("a fraction is not in lowest terms");
        if (d == 1) return Rational(n);
        return Rational(n) / Rational(static_cast<std::int64_t>(d));
    }
    // A value and the bytes its parts hold outside a Rational.
    std::pair<Rational, std::size_t> rational() {
        std::uint8_t tag = byte();
        if (tag == 0) return {small_rational(), 0};
        if (tag != 1 && tag != 2) corrupt("a number has an unknown tag " + std::to_string(tag));
        std::size_t n_bytes = 0, d_bytes = 0;
        Integer n = magnitude(n_bytes);
        Integer d = magnitude(d_bytes);
        if (d.is_zero()) corrupt("a denominator is zero");
        if (!(gcd(n, d) == Integer(1))) corrupt("a fraction is not in lowest terms");
        if (tag == 2) n = -n;
        Rational value(n, d);
        return {value, value.small_parts() ? 0 : n_bytes + d_bytes};
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

// Refuses a table with two equal entries, naming both by index.
template <class T, class Less, class Show>
void require_distinct(const std::vector<T>& items, const char* what, Less less, Show show) {
    std::vector<std::uint32_t> order(items.size());
    std::iota(order.begin(), order.end(), std::uint32_t{0});
    std::sort(order.begin(), order.end(), [&](std::uint32_t a, std::uint32_t b) {
        if (less(items[a], items[b])) return true;
        return !less(items[b], items[a]) && a < b;
    });
    for (std::size_t k = 0; k + 1 < order.size(); ++k) {
        if (!less(items[order[k]], items[order[k + 1]])) {
            const std::uint32_t i = std::min(order[k], order[k + 1]), j = std::max(order[k], order[k + 1]);
            corrupt(std::string(what) + "s " + std::to_string(i) + " and " + std::to_string(j) + " are equal" +
                    show(items[i]) + "; each is stored once");
        }
    }
}

template <std::size_t N>
std::array<std::uint32_t, N> indices(Reader& r, std::size_t size) {
    std::array<std::uint32_t, N> out{};
    for (std::uint32_t& i : out) i = r.index(size, "number");
    return out;
}

void read_tables(Reader& r, Stored& s) {
    const std::size_t value_count = r.count(2, "number");
    s.values.reserve(value_count);
    s.value_heap.reserve(value_count);
    for (std::size_t i = 0; i < value_count; ++i) {
        auto [value, heap] = r.rational();
        s.values.push_back(std::move(value));
        s.value_heap.push_back(heap);
        guard::poll(1 + static_cast<std::int64_t>(heap / 256));
    }
    require_distinct(s.values, "number", std::less<Rational>{},
                     [](const Rational& v) { return v.small_parts() ? " (" + v.plain_text() + ")" : std::string(); });

    s.labels.resize(r.count(1, "label"));
    for (std::string& label : s.labels) {
        const std::size_t n = r.count(1, "label byte");
        label.assign(reinterpret_cast<const char*>(r.take(n)), n);
    }
    require_distinct(s.labels, "label", std::less<std::string>{}, [](const std::string&) { return std::string(); });

    s.points.resize(r.count(3, "point"));
    for (auto& p : s.points) p = indices<3>(r, s.values.size());
    require_distinct(s.points, "point", std::less<std::array<std::uint32_t, 3>>{},
                     [](const std::array<std::uint32_t, 3>&) { return std::string(); });

    s.planes.resize(r.count(4, "plane"));
    for (auto& p : s.planes) {
        p = indices<4>(r, s.values.size());
        if (s.values[p[0]].is_zero() && s.values[p[1]].is_zero() && s.values[p[2]].is_zero()) {
            corrupt("plane " + std::to_string(&p - s.planes.data()) + " has no normal (all three parts are 0)");
        }
    }
    require_distinct(s.planes, "plane", std::less<std::array<std::uint32_t, 4>>{},
                     [](const std::array<std::uint32_t, 4>&) { return std::string(); });
}

void read_polygons(Reader& r, Stored& s) {
    s.polygons.resize(r.count(6, "polygon"));
    s.corners.reserve(r.left());
    for (std::size_t k = 0; k < s.polygons.size(); ++k) {
        StoredPolygon& p = s.polygons[k];
        p.plane = r.index(s.planes.size(), "plane");
        p.label = r.index(s.labels.size(), "label");
        p.count = r.count(1, "vertex");
        p.first = s.corners.size();
        if (p.count < 3) {
            corrupt("polygon " + std::to_string(k) + " has " + std::to_string(p.count) +
                    " vertices; a polygon needs at least three");
        }
        for (std::size_t j = 0; j < p.count; ++j) s.corners.push_back(r.index(s.points.size(), "point"));
        guard::poll(static_cast<std::int64_t>(p.count));
    }
    if (r.left() != 0) corrupt("bytes follow the last polygon");
}

}  // namespace

Stored read_stored(std::span<const std::uint8_t> bytes) {
    check_header(bytes);
    Reader r{bytes.data() + kHeader, bytes.data() + bytes.size() - kTrailer};
    Stored s;
    s.size = bytes.size();
    read_tables(r, s);
    read_polygons(r, s);
    return s;
}

}  // namespace corv
