#include "bsp/tree_shape.h"

namespace corv::bsp {
namespace {

constexpr std::uint32_t kFront = 2;
constexpr std::uint32_t kBack = 1;
constexpr std::uint32_t kMaxFaces = 0x3fffffffu;  // a count that still fits beside the two flags

bool empty_tree(const Tree& tree) { return tree.nodes.size() == 1 && tree.nodes[0].plane == kNoPlane; }

}  // namespace

bool rebuilds_to_itself(Workspace& ws, Tree& tree) {
    if (empty_tree(tree)) return tree.nodes[0].faces.empty();
    for (TreeNode& node : tree.nodes) {
        if (node.plane == kNoPlane || node.faces.empty() || node.faces[0].plane != node.plane) return false;
        if (node.faces.size() > kMaxFaces) return false;
        for (std::size_t i = 0; i < node.faces.size(); ++i) {
            Face& f = node.faces[i];
            if ((f.flags & kHasArea) != 0) continue;
            if (!ws.has_area(f)) return false;
            f.flags |= kHasArea;
        }
    }
    return true;
}

std::optional<TreeShape> shape_of(Workspace& ws, Tree& tree) {
    if (!rebuilds_to_itself(ws, tree)) return std::nullopt;
    TreeShape shape;
    if (empty_tree(tree)) return shape;
    shape.nodes.reserve(tree.nodes.size());
    // Pre-order, as take_faces reads the faces: a node, its front subtree,
    // then its back subtree.
    std::vector<std::uint32_t> stack{0};
    while (!stack.empty()) {
        const TreeNode& node = tree.nodes[stack.back()];
        stack.pop_back();
        shape.nodes.push_back(static_cast<std::uint32_t>(node.faces.size()) << 2 |
                              (node.front != kNoNode ? kFront : 0u) | (node.back != kNoNode ? kBack : 0u));
        if (node.back != kNoNode) stack.push_back(node.back);
        if (node.front != kNoNode) stack.push_back(node.front);
    }
    return shape;
}

bool build_from_shape(Tree& tree, const std::vector<Face>& faces, const TreeShape& shape) {
    // The shape must account for every face, each node holding at least one,
    // and its links must close: every child announced is one of the nodes.
    std::size_t total = 0, open = shape.nodes.empty() ? 0 : 1;
    for (const std::uint32_t entry : shape.nodes) {
        if ((entry >> 2) == 0 || open == 0) return false;
        total += entry >> 2;
        open += ((entry & kFront) != 0) + ((entry & kBack) != 0) - 1;
    }
    if (total != faces.size() || open != 0) return false;
    tree.nodes.resize(std::max<std::size_t>(shape.nodes.size(), 1));
    // In pre-order a node's front child comes right after it; a node
    // without one is followed by the back child of the nearest node still
    // waiting for its back child.
    std::vector<std::uint32_t> waiting;
    std::uint32_t front_of = kNoNode;
    std::size_t next_face = 0;
    for (std::size_t i = 0; i < shape.nodes.size(); ++i) {
        const auto id = static_cast<std::uint32_t>(i);
        if (i > 0) {
            if (front_of != kNoNode) {
                tree.nodes[front_of].front = id;
            } else {
                tree.nodes[waiting.back()].back = id;
                waiting.pop_back();
            }
        }
        TreeNode& node = tree.nodes[i];
        const std::uint32_t count = shape.nodes[i] >> 2;
        node.plane = faces[next_face].plane;
        for (std::uint32_t k = 0; k < count; ++k) node.faces.push_back(faces[next_face++]);
        if ((shape.nodes[i] & kBack) != 0) waiting.push_back(id);
        front_of = (shape.nodes[i] & kFront) != 0 ? id : kNoNode;
    }
    return true;
}

}  // namespace corv::bsp
