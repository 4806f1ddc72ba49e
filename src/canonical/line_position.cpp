#include "canonical/line_position.h"

#include "canonical/canonical.h"

namespace corv {

Rational line_position(const Vec3& p, const Vec3& dir) { return dot(p, dir); }

std::string line_key_through(const Vec3& p, const Vec3& dir) {
    std::string key;
    key.reserve(64);
    append_point_text(key, dir);
    key += '|';
    append_point_text(key, cross(p, dir));
    return key;
}

std::optional<LineSide> line_side(const Vec3& a, const Vec3& b) {
    std::optional<Vec3> c = canon_dir(sub(b, a));
    if (!c) return std::nullopt;
    LineSide side{line_key_through(a, *c), Vec3{}, line_position(a, *c), line_position(b, *c)};
    side.dir = std::move(*c);
    return side;
}

}  // namespace corv
