#include "bevel/strips.h"

#include "core/planar.h"

namespace corv {
namespace {

int orient(const Frame& f, const Vec3& p, const Vec3& q, const Vec3& r) {
    const Rational c = (q[f.u] - p[f.u]) * (r[f.v] - p[f.v]) - (q[f.v] - p[f.v]) * (r[f.u] - p[f.u]);
    return c.sign();
}

// Whether a side of a (its line, for a segment) has all of b beyond it:
// strictly, or with points on the line allowed (loose).
bool side_separates(const Frame& f, std::span<const Vec3> a, std::span<const Vec3> b, bool strict) {
    const std::size_t n = a.size();
    for (std::size_t i = 0; i < (n == 2 ? 1 : n); ++i) {
        const Vec3& p = a[i];
        const Vec3& q = a[(i + 1) % n];
        // The side a lies on; a segment may be left on either side.
        const int inside = n == 2 ? 0 : orient(f, p, q, a[(i + 2) % n]);
        for (int away : {-1, 1}) {
            if (inside != 0 && away != -inside) continue;
            bool all = true;
            for (const Vec3& x : b) {
                const int o = orient(f, p, q, x);
                if (strict ? o != away : o == -away) {
                    all = false;
                    break;
                }
            }
            if (all) return true;
        }
    }
    return false;
}

}  // namespace

Strip strip_of(const SolidEdge& edge, const EdgeBevel& bevel, int side) {
    const Vec3& step = bevel.step[static_cast<std::size_t>(side)];
    return {edge.start, edge.end, add(edge.end, step), add(edge.start, step)};
}

bool closed_sets_meet(const Vec3& normal, std::span<const Vec3> a, std::span<const Vec3> b) {
    const Frame f = frame_for(normal);
    return !side_separates(f, a, b, true) && !side_separates(f, b, a, true);
}

bool insides_meet(const Vec3& normal, std::span<const Vec3> a, std::span<const Vec3> b) {
    const Frame f = frame_for(normal);
    return !side_separates(f, a, b, false) && !side_separates(f, b, a, false);
}

}  // namespace corv
