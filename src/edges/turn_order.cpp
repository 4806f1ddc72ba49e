#include "edges/turn_order.h"

namespace corv {

int half_turn(const Turn& turn, const Vec3& v) {
    const int s = dot(turn.axis, cross(turn.from, v)).sign();
    if (s != 0) return s > 0 ? 0 : 1;
    return dot(turn.from, v).sign() > 0 ? 0 : 1;
}

bool turns_before(const Turn& turn, const Vec3& u, const Vec3& v) {
    const int hu = half_turn(turn, u), hv = half_turn(turn, v);
    if (hu != hv) return hu < hv;
    // Within one half turn the two differ by less than 180 degrees.
    return dot(turn.axis, cross(u, v)).sign() > 0;
}

bool turns_before(const Turn& turn, int sense, const Vec3& u, const Vec3& v) {
    if (sense > 0) return turns_before(turn, u, v);
    return turns_before(Turn{neg(turn.axis), turn.from}, u, v);
}

}  // namespace corv
