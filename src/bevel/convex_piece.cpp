#include "bevel/convex_piece.h"

#include <utility>

#include "core/guard.h"
#include "core/measures.h"
#include "core/panic.h"
#include "core/split.h"

namespace corv {
namespace {

using Side = std::pair<Vec3, Vec3>;

// The kept polygons' sides that lie in the plane, each from its start to its end.
std::vector<Side> sides_in(const Plane& plane, const std::vector<Polygon>& kept) {
    std::vector<Side> sides;
    for (const Polygon& p : kept) {
        const std::vector<Vec3>& loop = p.vertices();
        for (std::size_t i = 0; i < loop.size(); ++i) {
            const Vec3& a = loop[i];
            const Vec3& b = loop[(i + 1) % loop.size()];
            if (plane.side(a) == 0 && plane.side(b) == 0) sides.emplace_back(a, b);
        }
    }
    return sides;
}

// The face closing the cut: the sides in the plane run round it the other way.
std::vector<Vec3> cap_loop(std::vector<Side> sides) {
    std::vector<Vec3> loop;
    if (sides.size() < 3) return loop;
    loop.push_back(sides[0].second);
    Vec3 at = sides[0].first;
    sides.erase(sides.begin());
    while (at != loop.front()) {
        auto it = sides.begin();
        while (it != sides.end() && it->second != at) ++it;
        if (it == sides.end()) throw Panic(PanicKind::not_manifold, "chamfer: a bevel piece's cut does not close");
        loop.push_back(at);
        at = it->first;
        sides.erase(it);
    }
    return loop;
}

// The polyhedron's faces cut by one half-space; false when nothing is left.
bool cut(std::vector<Polygon>& faces, const HalfSpace& h) {
    const FloatPlane fp = float_plane(h.plane);
    std::vector<Polygon> kept, dropped, on_plane_out, on_plane_in;
    for (Polygon& p : faces) split_into(h.plane, fp, std::move(p), on_plane_out, on_plane_in, dropped, kept);
    guard::poll(static_cast<std::int64_t>(4 * faces.size()));
    if (!on_plane_in.empty()) return false;  // a face in the plane facing in: the piece lies beyond it
    if (kept.empty() && on_plane_out.empty()) return false;
    if (on_plane_out.empty()) {
        std::vector<Vec3> loop = cap_loop(sides_in(h.plane, kept));
        if (loop.size() >= 3) kept.push_back(Polygon::with_plane(std::move(loop), h.plane, h.label));
    }
    for (Polygon& p : on_plane_out) kept.push_back(std::move(p));
    faces = std::move(kept);
    return true;
}

}  // namespace

Solid convex_piece(const Vec3& lo, const Vec3& hi, std::span<const HalfSpace> cuts, const std::string& box_label) {
    Solid box = Solid::cube_at(lo, hi.x - lo.x, hi.y - lo.y, hi.z - lo.z, box_label);
    std::vector<Polygon> faces;
    for (const Polygon& p : box.polygons) {
        faces.push_back(Polygon::with_plane(p.vertices(), p.plane, box_label));
    }
    for (const HalfSpace& h : cuts) {
        if (!cut(faces, h)) return Solid{};
    }
    Solid piece = Solid::make(std::move(faces));
    if (piece.polygons.size() < 4 || volume6(piece.polygons).sign() <= 0) return Solid{};
    return piece;
}

}  // namespace corv
