// Sorting one face by one plane: in the plane (facing its way or away), in
// front, behind, or cut into a front and a back piece.
#pragma once

#include <vector>

#include "bsp/workspace.h"

namespace corv::bsp {

// Scratch space reused by every sort of one walk.
struct SortScratch {
    std::vector<signed char> sides;
    std::vector<PointId> front_run, back_run;
};

// Appends the face to exactly one of the four lists, or its pieces with area
// to front and back (front piece first). The lists may alias each other.
// Decisions and pieces are those of cutting the polygon itself: each piece
// starts at the first corner on its side, keeps the loop's direction,
// inherits the face's plane and label, and the crossing point of an edge is
// inserted after the corner that starts the edge.
void sort_face(Workspace& ws, SortScratch& scratch, std::uint32_t plane_ref, const Face& face,
               std::vector<Face>& coplanar_front, std::vector<Face>& coplanar_back, std::vector<Face>& front,
               std::vector<Face>& back);

}  // namespace corv::bsp
