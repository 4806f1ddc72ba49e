#include "bsp/face_sort.h"

#include "core/filtered.h"

namespace corv::bsp {
namespace {

enum : unsigned { kCoplanar = 0, kFront = 1, kBack = 2, kSpanning = 3 };

// edge_intersection for an entry's stored plane (the point is the same for
// the plane and its negation, both halves of t change sign).
//
// For a plane along axis a (n = n_a e_a) the parameter is the same number
// t = (w - n.vi) / (n.d) = (level - vi_a) / d_a with level = w / n_a, and
// coordinate a of the point is vi_a + t d_a = level exactly; the other
// coordinates follow the same formula. Same values, far fewer products.
Vec3 crossing_point(Workspace& ws, PlaneEntry& plane, const Vec3& vi, const Vec3& vj) {
    Vec3 p;
    if (plane.axis >= 0) {
        const auto a = static_cast<std::size_t>(plane.axis);
        const Rational& level = ws.axis_level(plane);
        const Rational t = (level - vi[a]) / (vj[a] - vi[a]);
        for (std::size_t k = 0; k < 3; ++k) {
            if (k == a) {
                p[k] = level;
            } else {
                Rational dk = vj[k] - vi[k];
                p[k] = dk.is_zero() ? vi[k] : vi[k] + t * dk;
            }
        }
        return p;
    }
    if (const IntegerPlane* form = ws.integer_form(plane)) {
        if (std::optional<Vec3> crossing = integer_crossing(*form, vi, vj)) return std::move(*crossing);
    }
    return rational_edge_intersection(*plane.plane, vi, vj);
}

// The class of the face against the plane from the side of every corner
// (the box screen has not settled the face as a whole; slack is its bound
// for single corners).
unsigned classify(Workspace& ws, std::uint32_t plane_ref, const Face& face, double slack,
                  std::vector<signed char>& sides) {
    // Against the negated plane every side is the opposite one (see sort_face).
    const int flip = (plane_ref & kNegated) != 0 ? -1 : 1;
    PlaneEntry& plane = ws.planes[plane_ref >> 1];
    const FloatPlane& fp = plane.floats;
    const filtered::Double3 n{fp[0], fp[1], fp[2]};
    const std::uint32_t count = face.count;
    sides.resize(count);
    const PointId* run = ws.corners.data() + face.first;
    const bool reversed = (face.flags & kReversed) != 0;
    unsigned cls = kCoplanar;
    for (std::uint32_t k = 0; k < count; ++k) {
        const PointId p = run[reversed ? count - 1 - k : k];
        int s = filtered::point_side(n, fp[3], ws.floats[p], slack);
        if (s == 0) s = ws.exact_side(plane, p);
        s *= flip;
        sides[k] = static_cast<signed char>(s);
        cls |= s > 0 ? kFront : (s < 0 ? kBack : 0u);
    }
    return cls;
}

// Stores a piece's loop when it has area and appends its face.
void emit_piece(Workspace& ws, const std::vector<PointId>& run, const Face& parent, std::vector<Face>& out) {
    const auto n = static_cast<std::uint32_t>(run.size());
    if (!ws.run_has_area(run.data(), n)) return;
    Face piece;
    piece.first = next_id(ws.corners.size());
    piece.count = n;
    piece.plane = parent.plane;
    piece.flags = kHasArea;
    piece.source = parent.source;
    piece.box = ws.add_box(run.data(), n);
    ws.corners.insert(ws.corners.end(), run.begin(), run.end());
    out.push_back(piece);
}

void cut_spanning(Workspace& ws, SortScratch& scratch, std::uint32_t plane_ref, const Face& face,
                  std::vector<Face>& front, std::vector<Face>& back) {
    std::vector<PointId>& fr = scratch.front_run;
    std::vector<PointId>& br = scratch.back_run;
    fr.clear();
    br.clear();
    PlaneEntry& plane = ws.planes[plane_ref >> 1];
    const std::uint32_t n = face.count;
    for (std::uint32_t i = 0; i < n; ++i) {
        const std::uint32_t j = i + 1 == n ? 0 : i + 1;
        const int ti = scratch.sides[i];
        const int tj = scratch.sides[j];
        const PointId vi = ws.corner(face, i);
        if (ti >= 0) fr.push_back(vi);
        if (ti <= 0) br.push_back(vi);
        if (ti * tj < 0) {
            // Both pieces share the crossing point.
            const PointId p = ws.add_point(crossing_point(ws, plane, ws.point(vi), ws.point(ws.corner(face, j))));
            fr.push_back(p);
            br.push_back(p);
        }
    }
    emit_piece(ws, fr, face, front);
    emit_piece(ws, br, face, back);
}

}  // namespace

void sort_face_by_corners(Workspace& ws, SortScratch& scratch, std::uint32_t plane_ref, const Face& face, double slack,
                          std::vector<Face>& coplanar_front, std::vector<Face>& coplanar_back, std::vector<Face>& front,
                          std::vector<Face>& back) {
    switch (classify(ws, plane_ref, face, slack, scratch.sides)) {
        case kCoplanar: (ws.facing(plane_ref, face.plane) > 0 ? coplanar_front : coplanar_back).push_back(face); return;
        case kFront: front.push_back(face); return;
        case kBack: back.push_back(face); return;
        default: cut_spanning(ws, scratch, plane_ref, face, front, back);
    }
}

}  // namespace corv::bsp
