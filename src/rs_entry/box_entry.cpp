#include "rs_entry/box_entry.h"

#include "bsp/boolean.h"
#include "core/measures.h"
#include "core/transforms.h"
#include "rs_entry/boolean_op.h"
#include "rs_entry/number_text.h"

namespace corv::rs_entry {
namespace {

VolumeAndCanonical describe(const Solid& s) { return {volume6(s.polygons).text(), canonical(s.polygons)}; }

}  // namespace

VolumeAndCanonical box_form(const std::string& dx, const std::string& dy, const std::string& dz) {
    Vec3 size = parse_point(dx, dy, dz);
    return describe(Solid::cube(size.x, size.y, size.z, "box"));
}

VolumeAndCanonical box_boolean(const std::string& dx, const std::string& dy, const std::string& dz,
                               const std::string& ex, const std::string& ey, const std::string& ez,
                               const std::string& tx, const std::string& ty, const std::string& tz,
                               const std::string& op) {
    Vec3 a_size = parse_point(dx, dy, dz);
    Vec3 b_size = parse_point(ex, ey, ez);
    Vec3 move = parse_point(tx, ty, tz);
    const BooleanOp o = parse_boolean_op(op);
    Solid a = Solid::cube(a_size.x, a_size.y, a_size.z, "A");
    Solid b = Solid::cube_at(move, b_size.x, b_size.y, b_size.z, "B");
    return describe(boolean(o, a, b));
}

}  // namespace corv::rs_entry
