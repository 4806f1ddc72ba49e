#include "core/measures.h"

#include <algorithm>
#include <cstdint>
#include <optional>
#include <string_view>
#include <utility>

#include "core/panic.h"

namespace corv {

namespace {

using i128 = __int128;

// A coordinate that is an integer below 2^30 in magnitude, or nothing.
std::optional<std::int64_t> small_coordinate(const Rational& q) {
    const auto parts = q.small_parts();
    constexpr std::int64_t kLimit = std::int64_t(1) << 30;
    if (!parts || parts->second != 1 || parts->first <= -kLimit || parts->first >= kLimit) return std::nullopt;
    return parts->first;
}

// The loop's fan sum of dot(v0, cross(vi, vi+1)) in machine integers, when
// every coordinate is an integer below 2^30 and the loop has fewer than 2^30
// corners. Each triple product is then below 2^90, a term (six of them)
// below 2^93, and the sum below 2^123: nothing overflows.
std::optional<i128> small_loop_volume6(const std::vector<Vec3>& v) {
    if (v.size() >= (std::size_t(1) << 30)) return std::nullopt;
    std::int64_t x[3][3];  // v0, vi, vi+1
    auto read = [](const Vec3& p, std::int64_t* out) {
        for (std::size_t k = 0; k < 3; ++k) {
            const auto c = small_coordinate(p[k]);
            if (!c) return false;
            out[k] = *c;
        }
        return true;
    };
    if (v.size() < 3) return i128(0);
    if (!read(v[0], x[0]) || !read(v[1], x[1])) return std::nullopt;
    i128 sum = 0;
    for (std::size_t i = 1; i + 1 < v.size(); ++i) {
        if (!read(v[i + 1], x[2])) return std::nullopt;
        const std::int64_t* a = x[0];
        const std::int64_t* b = x[1];
        const std::int64_t* c = x[2];
        sum += i128(a[0]) * (i128(b[1]) * c[2] - i128(b[2]) * c[1]) +
               i128(a[1]) * (i128(b[2]) * c[0] - i128(b[0]) * c[2]) +
               i128(a[2]) * (i128(b[0]) * c[1] - i128(b[1]) * c[0]);
        for (std::size_t k = 0; k < 3; ++k) x[1][k] = x[2][k];
    }
    return sum;
}

// v as a Rational (|v| < 2^123).
Rational rational_of(i128 v) {
    if (v > -(i128(1) << 62) && v < (i128(1) << 62)) return Rational(static_cast<std::int64_t>(v));
    const i128 low_mask = (i128(1) << 62) - 1;
    return Rational(static_cast<std::int64_t>(v >> 62)) * Rational(std::int64_t(1) << 62) +
           Rational(static_cast<std::int64_t>(v & low_mask));
}

}  // namespace

Rational volume6(const std::vector<Polygon>& polygons) {
    // Machine integers for loops with small integer corners (most of a
    // machined part's), Rationals for the rest: the same exact sum.
    Rational sum;
    i128 small_sum = 0;
    for (const Polygon& p : polygons) {
        const auto& v = p.vertices();
        if (const auto s = small_loop_volume6(v)) {
            small_sum += *s;
            if (small_sum > (i128(1) << 124) || small_sum < -(i128(1) << 124)) {
                sum += rational_of(small_sum >> 2) * Rational(4) + rational_of(small_sum & 3);
                small_sum = 0;
            }
            continue;
        }
        for (std::size_t i = 1; i + 1 < v.size(); ++i) sum += dot(v[0], cross(v[i], v[i + 1]));
    }
    return sum + rational_of(small_sum);
}

std::pair<Vec3, Vec3> bbox(const std::vector<Polygon>& polygons) {
    if (polygons.empty() || polygons[0].vertices().empty()) {
        throw Panic(PanicKind::empty_solid, "bounding box of a solid without polygons");
    }
    Vec3 lo = polygons[0].vertices()[0];
    Vec3 hi = lo;
    for (const Polygon& p : polygons) {
        for (const Vec3& v : p.vertices()) {
            for (std::size_t k = 0; k < 3; ++k) {
                if (v[k] < lo[k]) lo[k] = v[k];
                if (v[k] > hi[k]) hi[k] = v[k];
            }
        }
    }
    return {std::move(lo), std::move(hi)};
}

std::string canonical(const std::vector<Polygon>& polygons) {
    // Each polygon's key is its point texts, sorted and joined by '|'; the
    // keys, sorted and without repeats, are joined by ';'. The point texts
    // of one polygon share one buffer, so a key costs no allocation per
    // point; sorting equal texts in any order gives the same key.
    std::vector<std::string> keys;
    keys.reserve(polygons.size());
    std::string texts;
    std::vector<std::pair<std::size_t, std::size_t>> spans;  // (start, length) in texts
    std::vector<std::string_view> points;
    for (const Polygon& p : polygons) {
        texts.clear();
        spans.clear();
        for (const Vec3& v : p.vertices()) {
            const std::size_t start = texts.size();
            append_point_text(texts, v);
            spans.emplace_back(start, texts.size() - start);
        }
        points.clear();
        for (const auto& [start, length] : spans) points.emplace_back(texts.data() + start, length);
        std::sort(points.begin(), points.end());
        std::string key;
        key.reserve(texts.size() + points.size());
        for (std::size_t i = 0; i < points.size(); ++i) {
            if (i) key += '|';
            key += points[i];
        }
        keys.push_back(std::move(key));
    }
    std::sort(keys.begin(), keys.end());
    keys.erase(std::unique(keys.begin(), keys.end()), keys.end());
    std::size_t size = keys.size();
    for (const std::string& k : keys) size += k.size();
    std::string out;
    out.reserve(size);
    for (std::size_t i = 0; i < keys.size(); ++i) {
        if (i) out += ';';
        out += keys[i];
    }
    return out;
}

}  // namespace corv
