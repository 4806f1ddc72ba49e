// Sorting one face by one plane: in the plane (facing its way or away), in
// front, behind, or cut into a front and a back piece.
#pragma once

#include <cmath>
#include <vector>

#include "bsp/workspace.h"

namespace corv::bsp {

// Appends the face to exactly one of the four lists, or its pieces with area
// to front and back (front piece first). The lists may alias each other.
// Decisions and pieces are those of cutting the polygon itself: each piece
// starts at the first corner on its side, keeps the loop's direction,
// inherits the face's plane and label, and the crossing point of an edge is
// inserted after the corner that starts the edge.
//
// Most faces lie wholly on one side of a plane, which their bounding box
// shows at once; that test is inline, the corner-by-corner sort is not.
void sort_face_by_corners(Workspace& ws, SortScratch& scratch, std::uint32_t plane_ref, const Face& face, double slack,
                          std::vector<Face>& coplanar_front, std::vector<Face>& coplanar_back, std::vector<Face>& front,
                          std::vector<Face>& back);

inline void sort_face(Workspace& ws, SortScratch& scratch, std::uint32_t plane_ref, const Face& face,
                      std::vector<Face>& coplanar_front, std::vector<Face>& coplanar_back, std::vector<Face>& front,
                      std::vector<Face>& back) {
    const PlaneEntry& plane = ws.planes[plane_ref >> 1];
    const FloatPlane& fp = plane.floats;
    const Box& box = ws.boxes[face.box];
    const filtered::BoxScreen screen =
        filtered::box_screen({fp[0], fp[1], fp[2]}, {std::fabs(fp[0]), std::fabs(fp[1]), std::fabs(fp[2])}, fp[3],
                             box.centre, box.half, box.magnitude);
    if (screen.whole != 0) {
        // Against the negated plane every side is the opposite one: the
        // exact test compares -n.p with -w, and the screen is symmetric.
        const bool in_front = (screen.whole > 0) == ((plane_ref & kNegated) == 0);
        (in_front ? front : back).push_back(face);
        return;
    }
    sort_face_by_corners(ws, scratch, plane_ref, face, screen.slack, coplanar_front, coplanar_back, front, back);
}

}  // namespace corv::bsp
