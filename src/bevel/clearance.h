// Whether a bevel piece reaches any part of the solid other than the faces
// it is made for. Each piece is meant to cut away (or fill) only the corner
// of its own edge between that edge's two faces, and near its ends the
// faces meeting there; a polygon of any other face that reaches into the
// piece means another part of the solid lies within reach of the bevel (a
// nearby part, a thin wall), where the piece would cut or fill wrongly.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "bevel/planes.h"
#include "core/solid.h"

namespace corv {

struct Piece {
    Solid solid;
    std::vector<HalfSpace> cuts;   // the half-spaces it was made of
    std::vector<Plane> own_faces;  // the face planes it may reach into (integer forms)
    std::string what;              // "the bevel of edge ... between faces ..."
};

struct Clearance {
    const Solid& solid;
    std::vector<Plane> planes;  // each polygon's plane, in integer form
};

Clearance clearance_of(const Solid& solid);

// "face 'label' near (x, y, z)" for the first polygon of another face that
// reaches into the piece, or nothing.
std::optional<std::string> reached_face(const Clearance& clearance, const Piece& piece);

}  // namespace corv
