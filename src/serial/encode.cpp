#include <gmp.h>

#include <array>
#include <cstdint>
#include <cstring>
#include <functional>
#include <string>
#include <unordered_map>
#include <vector>

#include "core/panic.h"
#include "serial/serial.h"

namespace corv {
namespace {

std::size_t mix(std::size_t h, std::size_t v) { return (h ^ v) * 0x100000001b3ULL + (h >> 29); }

struct RationalHash {
    std::size_t operator()(const Rational& r) const {
        if (auto parts = r.small_parts()) {
            return mix(std::hash<std::int64_t>{}(parts->first), std::hash<std::int64_t>{}(parts->second));
        }
        return std::hash<std::string>{}(r.text());
    }
};

struct Vec3Hash {
    std::size_t operator()(const Vec3& p) const {
        RationalHash h;
        return mix(mix(h(p.x), h(p.y)), h(p.z));
    }
};

struct PlaneKeyHash {
    std::size_t operator()(const std::array<std::uint32_t, 4>& k) const {
        std::size_t h = 0;
        for (std::uint32_t v : k) h = mix(h, v);
        return h;
    }
};

// Interns values in first-seen order, so equal solids give equal bytes.
template <class Key, class Hash>
struct Table {
    std::unordered_map<Key, std::uint32_t, Hash> index;
    std::vector<const Key*> order;

    std::uint32_t intern(const Key& key) {
        auto [it, added] = index.try_emplace(key, static_cast<std::uint32_t>(order.size()));
        if (added) {
            if (order.size() >= UINT32_MAX) throw Panic(PanicKind::invalid_argument, "solid too large to store");
            order.push_back(&it->first);  // node-based map: the key's address is stable
        }
        return it->second;
    }
};

struct Writer {
    std::vector<std::uint8_t> out;

    void byte(std::uint8_t b) { out.push_back(b); }
    void varint(std::uint64_t v) {
        while (v >= 0x80) {
            out.push_back(static_cast<std::uint8_t>(v | 0x80));
            v >>= 7;
        }
        out.push_back(static_cast<std::uint8_t>(v));
    }
    void fixed(std::uint64_t v, int width) {
        for (int i = 0; i < width; ++i) out.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
    }
    void magnitude(const Integer& v) {
        std::size_t count = (mpz_sizeinbase(v.get(), 2) + 7) / 8;
        if (v.is_zero()) count = 0;
        varint(count);
        std::size_t at = out.size();
        out.resize(at + count);
        std::size_t written = 0;
        if (count > 0) mpz_export(out.data() + at, &written, -1, 1, -1, 0, v.get());
        out.resize(at + written);  // equal to count; kept exact in any case
    }
    void rational(const Rational& r) {
        if (auto parts = r.small_parts()) {
            byte(0);
            std::uint64_t n = static_cast<std::uint64_t>(parts->first);
            varint(parts->first < 0 ? ~(n << 1) : n << 1);
            varint(static_cast<std::uint64_t>(parts->second));
            return;
        }
        byte(r.sign() < 0 ? 2 : 1);
        magnitude(abs(r.numerator()));
        magnitude(r.denominator());
    }
};

}  // namespace

std::vector<std::uint8_t> encode(const Solid& solid) {
    Table<Rational, RationalHash> values;
    Table<std::string, std::hash<std::string>> labels;
    Table<Vec3, Vec3Hash> points;
    Table<std::array<std::uint32_t, 4>, PlaneKeyHash> planes;
    std::vector<std::array<std::uint32_t, 3>> point_values;  // per distinct point

    struct PolygonRefs {
        std::uint32_t plane, label;
    };
    std::vector<PolygonRefs> refs;
    std::vector<std::uint32_t> loops;  // every polygon's point indices, in order
    refs.reserve(solid.polygons.size());
    for (const Polygon& poly : solid.polygons) {
        std::array<std::uint32_t, 4> plane_key{values.intern(poly.plane.normal.x), values.intern(poly.plane.normal.y),
                                               values.intern(poly.plane.normal.z), values.intern(poly.plane.offset)};
        refs.push_back({planes.intern(plane_key), labels.intern(poly.label)});
        for (const Vec3& v : poly.vertices()) {
            std::size_t before = points.order.size();
            std::uint32_t i = points.intern(v);
            if (points.order.size() != before) {
                point_values.push_back({values.intern(v.x), values.intern(v.y), values.intern(v.z)});
            }
            loops.push_back(i);
        }
    }

    Writer w;
    w.out.reserve(64 + 16 * loops.size());
    const char magic[] = "CORVSD";
    for (int i = 0; i < 6; ++i) w.byte(static_cast<std::uint8_t>(magic[i]));
    w.fixed(serial_version, 2);
    w.fixed(0, 8);  // body length, filled in below
    const std::size_t body_start = w.out.size();

    w.varint(values.order.size());
    for (const Rational* r : values.order) w.rational(*r);
    w.varint(labels.order.size());
    for (const std::string* s : labels.order) {
        w.varint(s->size());
        w.out.insert(w.out.end(), s->begin(), s->end());
    }
    w.varint(point_values.size());
    for (const auto& p : point_values) {
        for (std::uint32_t i : p) w.varint(i);
    }
    w.varint(planes.order.size());
    for (const auto* p : planes.order) {
        for (std::uint32_t i : *p) w.varint(i);
    }
    w.varint(solid.polygons.size());
    std::size_t next = 0;
    for (std::size_t k = 0; k < solid.polygons.size(); ++k) {
        w.varint(refs[k].plane);
        w.varint(refs[k].label);
        const std::size_t n = solid.polygons[k].vertices().size();
        w.varint(n);
        for (std::size_t j = 0; j < n; ++j) w.varint(loops[next++]);
    }

    const std::uint64_t body_length = w.out.size() - body_start;
    for (int i = 0; i < 8; ++i)
        w.out[8 + static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(body_length >> (8 * i));
    w.fixed(checksum64(w.out), 8);
    return std::move(w.out);
}

}  // namespace corv
