#include "bsp/tree_shape.h"

#include <algorithm>
#include <utility>

namespace corv::bsp {
namespace {

constexpr std::uint32_t kFront = 2;
constexpr std::uint32_t kBack = 1;
constexpr std::uint32_t kMaxFaces = 0x3fffffffu;  // a count that still fits beside the two flags

// An empty tree is one root without a plane (a node gets its plane with its
// first face, so such a root holds none).
bool empty_tree(const Tree& tree) { return tree.nodes.size() == 1 && tree.nodes[0].plane == kNoPlane; }

// A node that building from its subtree's faces would give back as it is.
bool rebuilds(const TreeNode& node) {
    return node.plane != kNoPlane && !node.faces.empty() && node.faces[0].plane == node.plane &&
           node.faces.size() <= kMaxFaces;
}

// Whether every face has area, marking those found to have it.
bool all_have_area(Workspace& ws, Tree& tree) {
    for (TreeNode& node : tree.nodes) {
        for (std::size_t i = 0; i < node.faces.size(); ++i) {
            Face& f = node.faces[i];
            if ((f.flags & kHasArea) != 0) continue;
            if (!ws.has_area(f)) return false;
            f.flags |= kHasArea;
        }
    }
    return true;
}

// The node ids in pre-order (node, front subtree, back subtree).
std::vector<std::uint32_t> pre_order(const Tree& tree, std::uint32_t root) {
    std::vector<std::uint32_t> out, stack{root};
    while (!stack.empty()) {
        const std::uint32_t id = stack.back();
        stack.pop_back();
        out.push_back(id);
        if (tree.nodes[id].back != kNoNode) stack.push_back(tree.nodes[id].back);
        if (tree.nodes[id].front != kNoNode) stack.push_back(tree.nodes[id].front);
    }
    return out;
}

// Where each node's faces start in the pre-order list, and how many faces
// its subtree holds.
struct Places {
    std::vector<std::uint32_t> first, below;
};

Places places_of(const Tree& tree, const std::vector<std::uint32_t>& order) {
    Places p{std::vector<std::uint32_t>(tree.nodes.size()), std::vector<std::uint32_t>(tree.nodes.size())};
    std::uint32_t next = 0;
    for (const std::uint32_t id : order) {
        p.first[id] = next;
        next += static_cast<std::uint32_t>(tree.nodes[id].faces.size());
    }
    for (auto it = order.rbegin(); it != order.rend(); ++it) {
        const TreeNode& node = tree.nodes[*it];
        p.below[*it] = static_cast<std::uint32_t>(node.faces.size()) +
                       (node.front != kNoNode ? p.below[node.front] : 0) +
                       (node.back != kNoNode ? p.below[node.back] : 0);
    }
    return p;
}

// The shape's entry for a node that keeps its faces, with the children whose
// subtrees hold faces.
std::uint32_t node_entry(const TreeNode& node, const Places& p) {
    const bool front = node.front != kNoNode && p.below[node.front] > 0;
    const bool back = node.back != kNoNode && p.below[node.back] > 0;
    return static_cast<std::uint32_t>(node.faces.size()) << 2 | (front ? kFront : 0u) | (back ? kBack : 0u);
}

// Builds a tree from the faces of the subtree at id, in pre-order, and
// appends its shape (its faces' places in the whole list). False when the
// build cuts a face.
bool add_rebuilt(Workspace& ws, const Tree& tree, std::uint32_t id, const Places& p, TreeShape& shape) {
    std::vector<Face> faces;
    std::vector<std::pair<std::uint32_t, std::uint32_t>> place_of;  // (first corner, place)
    for (const std::uint32_t n : pre_order(tree, id)) {
        for (std::uint32_t k = 0; k < tree.nodes[n].faces.size(); ++k) {
            const Face& f = tree.nodes[n].faces[k];
            faces.push_back(f);
            place_of.emplace_back(f.first, p.first[n] + k);  // every face has a corner run of its own
        }
    }
    std::sort(place_of.begin(), place_of.end());
    const std::size_t corners_before = ws.corners.size();
    Tree part;
    build(ws, part, std::move(faces));
    if (ws.corners.size() != corners_before) return false;  // a piece was made
    const std::vector<std::uint32_t> order = pre_order(part, 0);
    const Places part_places = places_of(part, order);
    for (const std::uint32_t n : order) {
        const TreeNode& node = part.nodes[n];
        if (node.faces.size() > kMaxFaces) return false;
        shape.nodes.push_back(node_entry(node, part_places));
        for (std::size_t k = 0; k < node.faces.size(); ++k) {
            const auto at = std::lower_bound(place_of.begin(), place_of.end(),
                                             std::make_pair(node.faces[k].first, std::uint32_t(0)));
            shape.order.push_back(at->second);
        }
    }
    return true;
}

}  // namespace

bool rebuilds_to_itself(Workspace& ws, Tree& tree) {
    if (empty_tree(tree)) return true;
    for (const TreeNode& node : tree.nodes) {
        if (!rebuilds(node)) return false;
    }
    return all_have_area(ws, tree);
}

std::optional<TreeShape> shape_of(Workspace& ws, Tree& tree) {
    TreeShape shape;
    if (empty_tree(tree)) return shape;
    if (!all_have_area(ws, tree)) return std::nullopt;
    const std::vector<std::uint32_t> order = pre_order(tree, 0);
    const Places p = places_of(tree, order);
    if (p.below[0] == 0) return shape;
    shape.nodes.reserve(order.size());
    shape.order.reserve(p.below[0]);
    bool rebuilt = false;
    // The nodes that rebuild to themselves, from the root down; a subtree
    // whose root does not is built from its faces instead.
    std::vector<std::uint32_t> stack{0};
    while (!stack.empty()) {
        const std::uint32_t id = stack.back();
        stack.pop_back();
        const TreeNode& node = tree.nodes[id];
        if (!rebuilds(node)) {
            if (!add_rebuilt(ws, tree, id, p, shape)) return std::nullopt;
            rebuilt = true;
            continue;
        }
        shape.nodes.push_back(node_entry(node, p));
        for (std::uint32_t k = 0; k < node.faces.size(); ++k) shape.order.push_back(p.first[id] + k);
        if (node.back != kNoNode && p.below[node.back] > 0) stack.push_back(node.back);
        if (node.front != kNoNode && p.below[node.front] > 0) stack.push_back(node.front);
    }
    if (!rebuilt) shape.order.clear();  // the list's own order
    return shape;
}

bool build_from_shape(Tree& tree, const std::vector<Face>& faces, const TreeShape& shape) {
    // The shape must account for every face once, each node holding at least
    // one, and its links must close: every child announced is one of the
    // nodes.
    std::size_t total = 0, open = shape.nodes.empty() ? 0 : 1;
    for (const std::uint32_t entry : shape.nodes) {
        if ((entry >> 2) == 0 || open == 0) return false;
        total += entry >> 2;
        open = open - 1 + ((entry & kFront) != 0 ? 1u : 0u) + ((entry & kBack) != 0 ? 1u : 0u);  // open >= 1 here
    }
    if (total != faces.size() || open != 0) return false;
    if (!shape.order.empty()) {
        if (shape.order.size() != faces.size()) return false;
        std::vector<bool> seen(faces.size());
        for (const std::uint32_t place : shape.order) {
            if (place >= faces.size() || seen[place]) return false;
            seen[place] = true;
        }
    }
    tree.nodes.resize(std::max<std::size_t>(shape.nodes.size(), 1));
    // In pre-order a node's front child comes right after it; a node
    // without one is followed by the back child of the nearest node still
    // waiting for its back child.
    std::vector<std::uint32_t> waiting;
    std::uint32_t front_of = kNoNode;
    std::size_t next = 0;
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
        for (std::uint32_t k = 0; k < count; ++k, ++next) {
            node.faces.push_back(faces[shape.order.empty() ? next : shape.order[next]]);
        }
        node.plane = node.faces[0].plane;
        if ((shape.nodes[i] & kBack) != 0) waiting.push_back(id);
        front_of = (shape.nodes[i] & kFront) != 0 ? id : kNoNode;
    }
    return true;
}

}  // namespace corv::bsp
