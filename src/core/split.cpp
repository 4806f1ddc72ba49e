#include "core/split.h"

#include <cmath>
#include <optional>
#include <utility>

#include "core/filtered.h"
#include "core/integer_plane.h"

namespace corv {
namespace {

// Side codes of a polygon's vertices; small polygons keep them on the stack.
class SideCodes {
public:
    explicit SideCodes(std::size_t n) : n_(n) {
        if (n > kInline) heap_.resize(n);
    }
    signed char& operator[](std::size_t i) { return n_ > kInline ? heap_[i] : inline_[i]; }

private:
    static constexpr std::size_t kInline = 64;
    std::size_t n_;
    signed char inline_[kInline];
    std::vector<signed char> heap_;
};

enum : unsigned { kCoplanar = 0, kFront = 1, kBack = 2, kSpanning = 3 };

// Makes a piece of a cut polygon and keeps it when it has area.
void emit_piece(std::vector<Vec3>&& vertices, std::vector<Float3>&& floats, Plane&& plane, std::string&& label,
                std::vector<Polygon>& out) {
    if (vertices.size() < 3) return;
    Polygon piece = Polygon::assemble(std::move(vertices), std::move(floats), std::move(plane), std::move(label));
    // is_degenerate's float stage only ever proves a non-zero area, so this
    // is exactly the test area2() == 0.
    if (!piece.is_degenerate()) out.push_back(std::move(piece));
}

// The side of every vertex (the float screen first), and the class of the whole polygon: the union of the sides.
unsigned classify(const Plane& plane, const FloatPlane& fp, const Polygon& polygon, SideCodes& side) {
    const std::size_t n = polygon.vertices().size();
    unsigned cls = kCoplanar;
    for (std::size_t i = 0; i < n; ++i) {
        const int s = screened_side(plane, fp, polygon.vertices()[i], polygon.float_vertices()[i]);
        side[i] = static_cast<signed char>(s);
        cls |= s > 0 ? kFront : (s < 0 ? kBack : 0u);
    }
    return cls;
}

// A spanning polygon: walks the loop once, sending each vertex to its
// side(s) and inserting the crossing point after the vertex that starts its
// edge; the pieces with area go to front and back.
void cut_spanning(const Plane& plane, Polygon&& polygon, SideCodes& side, std::vector<Polygon>& front,
                  std::vector<Polygon>& back) {
    const std::size_t n = polygon.vertices().size();
    std::vector<Vec3> fv, bv;
    std::vector<Float3> ff, bf;
    fv.reserve(n + 1);
    bv.reserve(n + 1);
    ff.reserve(n + 1);
    bf.reserve(n + 1);
    for (std::size_t i = 0; i < n; ++i) {
        const std::size_t j = i + 1 == n ? 0 : i + 1;
        const int ti = side[i];
        const int tj = side[j];
        const Vec3& vi = polygon.vertices()[i];
        const Float3& fi = polygon.float_vertices()[i];
        if (ti >= 0) {
            fv.push_back(vi);
            ff.push_back(fi);
        }
        if (ti <= 0) {
            bv.push_back(vi);
            bf.push_back(fi);
        }
        if (ti * tj < 0) {
            Vec3 p = edge_intersection(plane, vi, polygon.vertices()[j]);
            const Float3 fp3 = to_f3(p);
            fv.push_back(p);
            ff.push_back(fp3);
            bv.push_back(std::move(p));
            bf.push_back(fp3);
        }
    }
    emit_piece(std::move(fv), std::move(ff), Plane(polygon.plane), std::string(polygon.label), front);
    emit_piece(std::move(bv), std::move(bf), std::move(polygon.plane), std::move(polygon.label), back);
}

}  // namespace

Vec3 edge_intersection(const Plane& plane, const Vec3& vi, const Vec3& vj) {
    if (std::optional<Vec3> p = small_edge_intersection(plane, vi, vj)) return std::move(*p);
    return rational_edge_intersection(plane, vi, vj);
}

Vec3 rational_edge_intersection(const Plane& plane, const Vec3& vi, const Vec3& vj) {
    Vec3 d = sub(vj, vi);
    // t = (w - n.vi) / (n.d); terms with a zero normal component add
    // nothing and are skipped (the same exact values, fewer products).
    Rational along = plane.offset;
    Rational across;
    for (std::size_t k = 0; k < 3; ++k) {
        const Rational& n = plane.normal[k];
        if (n.is_zero()) continue;
        along -= n * vi[k];
        if (!d[k].is_zero()) across += n * d[k];
    }
    const Rational t = along / across;
    Vec3 p;
    for (std::size_t k = 0; k < 3; ++k) p[k] = d[k].is_zero() ? vi[k] : vi[k] + t * d[k];
    return p;
}

FloatPlane float_plane(const Plane& plane) {
    return {plane.normal.x.to_double(), plane.normal.y.to_double(), plane.normal.z.to_double(),
            plane.offset.to_double()};
}

int screened_side(const Plane& plane, const FloatPlane& fp, const Vec3& p, const Float3& f) {
    const int s = filtered::dot_sign({fp[0], fp[1], fp[2]}, f, fp[3]);
    if (s != 0) return s;
    ++filtered::fallbacks().side;
    return plane.side(p);
}

void split_into(const Plane& plane, const FloatPlane& fp, Polygon&& polygon, std::vector<Polygon>& coplanar_front,
                std::vector<Polygon>& coplanar_back, std::vector<Polygon>& front, std::vector<Polygon>& back) {
    SideCodes side(polygon.vertices().size());
    switch (classify(plane, fp, polygon, side)) {
        case kCoplanar: {
            const bool same_way = dot(plane.normal, polygon.plane.normal).sign() > 0;
            (same_way ? coplanar_front : coplanar_back).push_back(std::move(polygon));
            return;
        }
        case kFront: front.push_back(std::move(polygon)); return;
        case kBack: back.push_back(std::move(polygon)); return;
        default: cut_spanning(plane, std::move(polygon), side, front, back);
    }
}

Split split(const Plane& plane, const FloatPlane& fp, Polygon polygon) {
    Split out;
    split_into(plane, fp, std::move(polygon), out.coplanar_front, out.coplanar_back, out.front, out.back);
    return out;
}

}  // namespace corv
