#include "bsp/box_entry.h"

#include "bsp/boolean.h"
#include "core/measures.h"
#include "core/transforms.h"

namespace corv {
namespace {

VolumeAndCanonical describe(const Solid& s) { return {volume6(s.polygons).text(), canonical(s.polygons)}; }

}  // namespace

VolumeAndCanonical box_form(const std::string& dx, const std::string& dy, const std::string& dz) {
    Rational x = parse_r(dx);
    Rational y = parse_r(dy);
    Rational z = parse_r(dz);
    return describe(Solid::cube(x, y, z, "box"));
}

VolumeAndCanonical box_boolean(const std::string& dx, const std::string& dy, const std::string& dz,
                               const std::string& ex, const std::string& ey, const std::string& ez,
                               const std::string& tx, const std::string& ty, const std::string& tz,
                               const std::string& op) {
    Rational ax = parse_r(dx);
    Rational ay = parse_r(dy);
    Rational az = parse_r(dz);
    Solid a = Solid::cube(ax, ay, az, "A");
    Rational bx = parse_r(ex);
    Rational by = parse_r(ey);
    Rational bz = parse_r(ez);
    Rational mx = parse_r(tx);
    Rational my = parse_r(ty);
    Rational mz = parse_r(tz);
    Solid b = translated(Solid::cube(bx, by, bz, "B"), Vec3{std::move(mx), std::move(my), std::move(mz)});
    return describe(boolean_impl(op, a, b));
}

}  // namespace corv
