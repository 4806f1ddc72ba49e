#include "bsp/cut_chain.h"

#include "bsp/combine.h"

namespace corv::bsp {
namespace {

// Whether building a tree from the tree's faces in pre-order gives the tree
// back (see the header), and writing it out drops no face: every node has a
// plane and faces, the first in the node's plane, and every face has area.
// An empty tree (one root without a plane) qualifies too.
bool rebuilds_to_itself(Workspace& ws, Tree& tree) {
    if (tree.nodes.size() == 1 && tree.nodes[0].plane == kNoPlane) return tree.nodes[0].faces.empty();
    for (TreeNode& node : tree.nodes) {
        if (node.plane == kNoPlane || node.faces.empty() || node.faces[0].plane != node.plane) return false;
        for (std::size_t i = 0; i < node.faces.size(); ++i) {
            Face& f = node.faces[i];
            if ((f.flags & kHasArea) != 0) continue;
            if (!ws.has_area(f)) return false;
            f.flags |= kHasArea;
        }
    }
    return true;
}

}  // namespace

void CutChain::cut(Solid cutter) {
    Workspace& ws = room_.ws;
    read_.push_back(std::move(cutter));  // its polygons stay where they are as read_ grows
    const Solid& b = read_.back();
    if (!in_tree_) {
        room_.clear();
        ws.reserve_for(working_, b);
        build(ws, room_.a, ws.load(working_));
    }
    room_.b.clear();
    build(ws, room_.b, ws.load(b));
    combine(BooleanOp::cut, ws, room_.a, room_.b);
    if (rebuilds_to_itself(ws, room_.a)) {
        in_tree_ = true;
        ++carried_;
        return;
    }
    working_ = ws.result(take_faces(room_.a));  // reads the old working solid and the cutters
    read_.clear();
    in_tree_ = false;
}

Solid CutChain::take() {
    if (!in_tree_) return std::move(working_);
    in_tree_ = false;
    return room_.ws.result(take_faces(room_.a));
}

}  // namespace corv::bsp
