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

// The faces lying in a node's plane, either orientation, in order. Most
// nodes hold one: it is kept in the node, and only further ones go to a
// vector, so a tree of one-face nodes needs no allocation per node.
class NodeFaces {
public:
    std::size_t size() const { return count_; }
    bool empty() const { return count_ == 0; }
    const Face& operator[](std::size_t i) const { return i == 0 ? first_ : rest_[i - 1]; }
    Face& operator[](std::size_t i) { return i == 0 ? first_ : rest_[i - 1]; }
    void push_back(const Face& f) {
        if (count_ == 0) {
            first_ = f;
        } else {
            rest_.push_back(f);
        }
        ++count_;
    }
    // Appends the faces, in order, to out and empties the node's list.
    void move_to(std::vector<Face>& out) {
        if (count_ == 0) return;
        out.push_back(first_);
        out.insert(out.end(), rest_.begin(), rest_.end());
        clear();
    }
    // The faces in order, as a list.
    std::vector<Face> list() const {
        std::vector<Face> out;
        out.reserve(count_);
        for (std::size_t i = 0; i < count_; ++i) out.push_back((*this)[i]);
        return out;
    }
    void clear() {
        count_ = 0;
        rest_.clear();  // keeps its room for the faces a later clip leaves
    }

private:
    std::size_t count_ = 0;
    Face first_;
    std::vector<Face> rest_;
};

struct TreeNode {
    std::uint32_t plane = kNoPlane;  // a plane reference; none only in an empty node
    std::uint32_t front = kNoNode;   // the half-space the normal points into
    std::uint32_t back = kNoNode;
    NodeFaces faces;
};

struct Tree {
    std::vector<TreeNode> nodes{TreeNode{}};  // nodes[0] is the root

    // Back to one empty root, keeping the node array's room.
    void clear() {
        nodes.resize(1);
        nodes[0] = TreeNode{};
    }
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
