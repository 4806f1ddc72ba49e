#include "chamfer/cutters.h"

#include <array>

namespace corv {
namespace {

// Keeps the faces with area; if what is left does not enclose a positive
// volume (volume_sign <= 0), every face is turned around (in place, order
// kept).
//
// The callers give the sign of the enclosed volume from the spanning
// vectors instead of summing it over the faces: both tables below list
// faces whose loops all run one way round their corners, so the signed
// volume of the faces is a fixed multiple of the triple product of the
// spanning vectors, and the faces dropped for having no area add nothing to
// it (a flat face's vector area is zero).
Solid outward(std::vector<Polygon> faces, int volume_sign) {
    Solid s = Solid::make(std::move(faces));
    if (volume_sign <= 0) {
        for (Polygon& p : s.polygons) p.flip();
    }
    return s;
}

int triple_sign(const Vec3& a, const Vec3& b, const Vec3& c) { return dot(a, cross(b, c)).sign(); }

struct QuadFace {
    char letter;
    std::array<int, 4> loop;
};
constexpr QuadFace kBlockFaces[6] = {
    {'b', {0, 3, 2, 1}}, {'t', {4, 5, 6, 7}}, {'f', {0, 1, 5, 4}},
    {'k', {2, 3, 7, 6}}, {'r', {1, 2, 6, 5}}, {'l', {3, 0, 4, 7}},
};

struct TriFace {
    char letter;
    std::array<int, 3> loop;
};
constexpr TriFace kTetraFaces[4] = {
    {'a', {0, 1, 2}},
    {'b', {0, 2, 3}},
    {'c', {0, 3, 1}},
    {'d', {1, 3, 2}},
};

// The faces of the table over the corners, each with its plane: given (one
// per face) or, without planes, from its first three corners.
template <class Face, std::size_t N, std::size_t F>
std::vector<Polygon> build_faces(const Vec3 (&corner)[N], const Face (&table)[F], const std::string& prefix,
                                 const Plane* planes = nullptr) {
    std::vector<Polygon> faces;
    faces.reserve(F);
    for (std::size_t i = 0; i < F; ++i) {
        const Face& f = table[i];
        std::vector<Vec3> loop;
        loop.reserve(f.loop.size());
        for (int c : f.loop) loop.push_back(corner[c]);
        std::string label = prefix;
        label += '.';
        label += f.letter;
        if (planes == nullptr) {
            faces.push_back(Polygon::make(std::move(loop), std::move(label)));
        } else {
            faces.push_back(Polygon::with_plane(std::move(loop), planes[i], std::move(label)));
        }
    }
    return faces;
}

}  // namespace

Solid parallelepiped(const Vec3& o, const Vec3& e1, const Vec3& e2, const Vec3& e3, const std::string& prefix) {
    const Vec3 o1 = add(o, e1);
    const Vec3 o12 = add(o1, e2);
    const Vec3 o2 = add(o, e2);
    const Vec3 corner[8] = {o, o1, o12, o2, add(o, e3), add(o1, e3), add(o12, e3), add(o2, e3)};
    // Each face's normal is what Plane::from_points gives for its first
    // three corners, from the spanning vectors: the two edges from the first
    // corner are exact differences, e.g. e2 and e1 + e2 for face b, and
    // (e2) x (e1 + e2) = e2 x e1. So three cross products serve the six faces.
    const Vec3 c12 = cross(e1, e2), c13 = cross(e1, e3), c23 = cross(e2, e3);
    // Each offset is the normal dotted with the face's first corner: o for
    // b and f, o + e3 for t, o + e1 + e2 for k, o + e1 for r, o + e2 for l.
    // With d_ij = c_ij . o and the triple product T = e1 . (e2 x e3), the
    // terms beyond o are T or zero: c12 . e3 = T, c13 . e2 = -T, c23 . e1 = T,
    // and c13 . e1 = c23 . e2 = 0.
    const Rational triple = dot(e1, c23);
    const Rational d12 = dot(c12, o), d13 = dot(c13, o), d23 = dot(c23, o);
    const Plane planes[6] = {{neg(c12), -d12},         {c12, d12 + triple}, {c13, d13},         // b, t, f
                             {neg(c13), triple - d13}, {c23, d23 + triple}, {neg(c23), -d23}};  // k, r, l
    // With e1, e2, e3 along x, y, z the block's loops run counter-clockwise
    // seen from outside: positive volume for a positive triple product.
    return outward(build_faces(corner, kBlockFaces, prefix, planes), triple.sign());
}

Solid tetra(const Vec3& p0, const Vec3& p1, const Vec3& p2, const Vec3& p3, const std::string& prefix) {
    const Vec3 corner[4] = {p0, p1, p2, p3};
    // With p1 - p0, p2 - p0, p3 - p0 along x, y, z face a (0, 1, 2) faces
    // towards p3, inward: negative volume for a positive triple product.
    return outward(build_faces(corner, kTetraFaces, prefix), -triple_sign(sub(p1, p0), sub(p2, p0), sub(p3, p0)));
}

}  // namespace corv
