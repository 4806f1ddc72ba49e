// Tree: a BSP tree over the faces of one Boolean. Nodes live in one vector
// and name their children by index, so the tree is freed in one go and no
// walk recurses: build, clip, invert and read-out use explicit stacks.
#pragma once

#include <cstdint>
#include <vector>

#include "bsp/workspace.h"

namespace corv::bsp {

inline constexpr std::uint32_t kNoPlane = 0xffffffffu;
inline constexpr std::uint32_t kNoNode = 0xffffffffu;

struct TreeNode {
    std::uint32_t plane = kNoPlane;  // a plane reference; none only in an empty node
    std::uint32_t front = kNoNode;   // the half-space the normal points into
    std::uint32_t back = kNoNode;
    std::vector<Face> faces;  // lying in this node's plane, either orientation
};

struct Tree {
    std::vector<TreeNode> nodes{TreeNode{}};  // nodes[0] is the root
};

// Adds the faces to the tree: a node without a plane takes the first face's
// plane and keeps that face; the rest go to the node (in its plane), or down
// the front and back sides, front side first.
void build(Workspace& ws, Tree& tree, std::vector<Face>&& list);
// The parts of the faces outside the solid the tree bounds, in order: at
// every node the front side's result, then the back side's.
std::vector<Face> clip_faces(Workspace& ws, const Tree& tree, std::vector<Face>&& list);
// Replaces the faces of every node by what survives clipping by other.
void clip_to(Workspace& ws, Tree& tree, const Tree& other);
// Turns the tree inside out: every face flipped, every plane negated, the
// children swapped.
void invert(Tree& tree);
// Every face in pre-order (node, front subtree, back subtree), moved out.
std::vector<Face> take_faces(Tree& tree);

}  // namespace corv::bsp
