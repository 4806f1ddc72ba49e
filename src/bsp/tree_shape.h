// TreeShape: how a BSP tree lays out its faces, kept so that the same tree
// can be laid out again over the same faces without sorting any of them.
//
// A Boolean's result is its tree's faces in pre-order, and the next Boolean
// on it builds a tree from that list. When every node of the tree holds
// faces, its first face lies in the node's own plane (the same plane
// reference) and every face has area, building from the list gives that
// same tree back: the first face names the root's plane, the root's other
// faces are coplanar with it, and every face below one side of a node lies
// strictly on that side (it was sorted there, and a piece of it with area
// keeps a corner off the node's plane). The tree's shape then stands for
// that build.
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "bsp/tree.h"

namespace corv::bsp {

struct TreeShape {
    // Per node in pre-order: its face count times four, plus two when it has
    // a front child, plus one when it has a back child. No nodes: no faces.
    std::vector<std::uint32_t> nodes;
    // The faces node by node in pre-order, as places in the list the tree is
    // laid out over; empty when they come in the list's own order.
    std::vector<std::uint32_t> order;
};

// Whether building from the tree's faces in pre-order gives the tree back
// (see above), and writing the faces out as a solid drops none. Faces found
// to have area are marked so.
bool rebuilds_to_itself(Workspace& ws, Tree& tree);

// The shape of the tree that building from this tree's faces in pre-order
// gives: this tree's own nodes as far down as they rebuild to themselves,
// and below a node that does not (one whose faces were all clipped away, or
// whose first face is gone), the tree that building from that subtree's
// faces gives, built here. Nothing when a face has no area (writing the
// faces out would drop it) or when that building cuts a face (the shape
// cannot say where).
std::optional<TreeShape> shape_of(Workspace& ws, Tree& tree);

// Lays an empty tree out over the faces (the list the shape was taken for)
// as the shape says. False, with the tree left empty, when the shape does
// not fit the faces.
bool build_from_shape(Tree& tree, const std::vector<Face>& faces, const TreeShape& shape);

}  // namespace corv::bsp
