#include "rs_entry/solid_entry.h"

#include <utility>

#include "bsp/boolean.h"
#include "builders/prism.h"
#include "chamfer/chamfer.h"
#include "core/transforms.h"
#include "rs_entry/boolean_op.h"
#include "rs_entry/number_text.h"

namespace corv::rs_entry {

std::vector<Point2> parse_outline(const Texts& flat) {
    std::vector<Point2> out;
    out.reserve(flat.size() / 2);
    for (std::size_t i = 0; i + 1 < flat.size(); i += 2) {
        Rational x = parse_r(flat[i]);
        Rational y = parse_r(flat[i + 1]);
        out.push_back({std::move(x), std::move(y)});
    }
    return out;
}

Solid make_box(const std::string& dx, const std::string& dy, const std::string& dz, const std::string& prefix) {
    Vec3 size = parse_point(dx, dy, dz);
    return Solid::cube(size.x, size.y, size.z, prefix);
}

Solid make_prism(const Texts& loop_flat, const std::string& h, const std::string& prefix) {
    std::vector<Point2> outline = parse_outline(loop_flat);
    return corv::make_prism(std::move(outline), parse_r(h), prefix);
}

Solid make_prismatoid(const Texts& bottom, const std::string& z0, const Texts& top, const std::string& z1,
                      const std::string& prefix) {
    std::vector<Point2> b = parse_outline(bottom);
    Rational zb = parse_r(z0);
    std::vector<Point2> t = parse_outline(top);
    Rational zt = parse_r(z1);
    return corv::make_prismatoid(std::move(b), zb, std::move(t), zt, prefix);
}

Solid translate(const Solid& s, const std::string& x, const std::string& y, const std::string& z) {
    return translated(s, parse_point(x, y, z));
}

Solid scale(const Solid& s, const std::string& fx, const std::string& fy, const std::string& fz) {
    Vec3 f = parse_point(fx, fy, fz);
    return scaled(s, f.x, f.y, f.z);
}

Solid chamfer(const Solid& s, const std::string& dist) { return corv::chamfer(s, parse_r(dist)); }

ShapedSolid boolean(const std::string& op, const Solid& a, const bsp::TreeShape* a_shape, const Solid& b,
                    const bsp::TreeShape* b_shape) {
    return corv::boolean(parse_boolean_op(op), a, a_shape, b, b_shape);
}

}  // namespace corv::rs_entry
