// How the edges of a solid meet at their ends: the edges ending at each
// vertex, and for each end of an edge and each of its two faces, the next
// edge of that face at the vertex (turning from the edge into the face).
#pragma once

#include <array>
#include <cstddef>
#include <utility>
#include <vector>

#include "edges/solid_edges.h"

namespace corv {

struct FaceNext {
    std::size_t edge = 0;   // index into the edge list
    int side = 0;           // which of that edge's faces is the face
    bool straight = false;  // it goes on along the same line
};

struct EdgeEnd {
    std::size_t edge;
    int end;  // 0: start, 1: end
};

struct VertexStar {
    Vec3 point;
    std::vector<EdgeEnd> ends;
};

struct Links {
    std::vector<VertexStar> stars;
    std::vector<std::array<std::size_t, 2>> star_of;           // [edge][end] -> index into stars
    std::vector<std::array<std::array<FaceNext, 2>, 2>> next;  // [edge][end][side]
};

// Throws Panic (not_manifold) when a face has no other edge at an edge's end.
Links end_links(const std::vector<SolidEdge>& edges);

// The end's point and the direction from it along the edge.
const Vec3& end_point(const SolidEdge& edge, int end);
Vec3 out_of(const SolidEdge& edge, int end);

}  // namespace corv
