#include "python_lib/solid_reading.h"

#include "core/measures.h"

namespace corv::python_lib {
namespace {

// n, or n/d; at most about 40 characters.
std::string shown(const Rational& q) {
    std::string text = q.is_integer() ? q.numerator().text() : q.text();
    if (text.size() > 40) text = text.substr(0, 18) + "..." + text.substr(text.size() - 18);
    return text;
}

// Built by appending: g++ 12 warns falsely (-Wrestrict) on "(" + text + ...
std::string shown(const Vec3& p) {
    std::string out = "(";
    out += shown(p.x);
    out += ", ";
    out += shown(p.y);
    out += ", ";
    out += shown(p.z);
    out += ")";
    return out;
}

}  // namespace

std::size_t polygon_count(const Solid& solid) { return solid.polygons.size(); }

Rational volume(const Solid& solid) { return corv::volume6(solid.polygons) / Rational(6); }

Rational volume6(const Solid& solid) { return corv::volume6(solid.polygons); }

std::pair<Vec3, Vec3> bounds(const Solid& solid) { return corv::bbox(solid.polygons); }

std::string canonical_text(const Solid& solid) { return corv::canonical(solid.polygons); }

std::string summary(const Solid& solid) {
    const std::size_t n = polygon_count(solid);
    std::string out = "Solid(";
    out += std::to_string(n);
    out += n == 1 ? " polygon" : " polygons";
    if (n == 0) return out + ", empty)";
    auto [lo, hi] = bounds(solid);
    return out + ", volume " + shown(volume(solid)) + ", bbox " + shown(lo) + " to " + shown(hi) + ")";
}

}  // namespace corv::python_lib
