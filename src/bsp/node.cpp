#include "bsp/node.h"

#include <algorithm>
#include <utility>

#include "bsp/split.h"

namespace corv {
namespace {

// Detaches both children of every node below n into a flat list, so that no
// destructor ever finds a child to recurse into.
void dismantle(Node& n) {
    std::vector<std::unique_ptr<Node>> pending;
    if (n.front) pending.push_back(std::move(n.front));
    if (n.back) pending.push_back(std::move(n.back));
    while (!pending.empty()) {
        std::unique_ptr<Node> cur = std::move(pending.back());
        pending.pop_back();
        if (cur->front) pending.push_back(std::move(cur->front));
        if (cur->back) pending.push_back(std::move(cur->back));
        // cur is freed here, childless.
    }
}

void flip_in_place(Polygon& p) {
    std::reverse(p.vertices.begin(), p.vertices.end());
    std::reverse(p.float_vertices.begin(), p.float_vertices.end());
    p.plane.normal = neg(p.plane.normal);
    p.plane.offset = -p.plane.offset;
}

// Visits every node of the tree under root (pre-order) with f.
template <class NodeT, class F>
void for_each_node(NodeT& root, F&& f) {
    std::vector<NodeT*> stack{&root};
    while (!stack.empty()) {
        NodeT* n = stack.back();
        stack.pop_back();
        f(*n);
        if (n->back) stack.push_back(n->back.get());
        if (n->front) stack.push_back(n->front.get());
    }
}

}  // namespace

Node& Node::operator=(Node&& other) noexcept {
    if (this != &other) {
        dismantle(*this);
        polygons = std::move(other.polygons);
        plane = std::move(other.plane);
        front = std::move(other.front);
        back = std::move(other.back);
    }
    return *this;
}

Node::~Node() { dismantle(*this); }

void Node::build(std::vector<Polygon> list) {
    struct Task {
        Node* node;
        std::vector<Polygon> list;
    };
    std::vector<Task> stack;
    stack.push_back({this, std::move(list)});
    while (!stack.empty()) {
        Task task = std::move(stack.back());
        stack.pop_back();
        if (task.list.empty()) continue;
        Node& n = *task.node;
        auto it = task.list.begin();
        if (!n.plane) {
            // The node takes the first polygon's plane and keeps that polygon.
            // A well-formed polygon lies in its own plane and would be sorted
            // here anyway; one whose vertices stray from its plane is kept
            // here too, so every child receives fewer polygons than its
            // parent and building always ends.
            n.plane = it->plane;
            n.polygons.push_back(std::move(*it));
            ++it;
        }
        const Plane& pl = *n.plane;
        const FloatPlane fp = float_plane(pl);
        std::vector<Polygon> front_list, back_list;
        for (; it != task.list.end(); ++it) {
            split_into(pl, fp, std::move(*it), n.polygons, n.polygons, front_list, back_list);
        }
        task.list.clear();
        // Front before back, as a recursive build would go.
        if (!back_list.empty()) {
            if (!n.back) n.back = std::make_unique<Node>();
            stack.push_back({n.back.get(), std::move(back_list)});
        }
        if (!front_list.empty()) {
            if (!n.front) n.front = std::make_unique<Node>();
            stack.push_back({n.front.get(), std::move(front_list)});
        }
    }
}

std::vector<Polygon> Node::clip_polygons(std::vector<Polygon> list) const {
    // The result is the front-side result followed by the back-side result
    // at every node; a depth-first stack that handles the front task first
    // appends the pieces in exactly that order.
    struct Task {
        const Node* node;
        std::vector<Polygon> list;
    };
    std::vector<Polygon> out;
    std::vector<Task> stack;
    stack.push_back({this, std::move(list)});
    while (!stack.empty()) {
        Task task = std::move(stack.back());
        stack.pop_back();
        const Node& n = *task.node;
        if (!n.plane) {
            std::move(task.list.begin(), task.list.end(), std::back_inserter(out));
            continue;
        }
        const Plane& pl = *n.plane;
        const FloatPlane fp = float_plane(pl);
        std::vector<Polygon> front_list, back_list;
        for (Polygon& p : task.list) split_into(pl, fp, std::move(p), front_list, back_list, front_list, back_list);
        task.list.clear();
        // Without a back child, the back list lies inside the solid and goes.
        if (n.back && !back_list.empty()) stack.push_back({n.back.get(), std::move(back_list)});
        if (front_list.empty()) continue;
        if (n.front) {
            stack.push_back({n.front.get(), std::move(front_list)});
        } else {
            std::move(front_list.begin(), front_list.end(), std::back_inserter(out));
        }
    }
    return out;
}

void Node::clip_to(const Node& other) {
    for_each_node(*this, [&](Node& n) { n.polygons = other.clip_polygons(std::move(n.polygons)); });
}

void Node::invert() {
    for_each_node(*this, [](Node& n) {
        for (Polygon& p : n.polygons) flip_in_place(p);
        if (n.plane) {
            n.plane->normal = neg(n.plane->normal);
            n.plane->offset = -n.plane->offset;
        }
        std::swap(n.front, n.back);
    });
}

std::vector<Polygon> Node::all_polygons() const {
    std::vector<Polygon> out;
    for_each_node(*this, [&](const Node& n) { out.insert(out.end(), n.polygons.begin(), n.polygons.end()); });
    return out;
}

std::vector<Polygon> Node::take_polygons() {
    std::vector<Polygon> out;
    for_each_node(*this, [&](Node& n) {
        std::move(n.polygons.begin(), n.polygons.end(), std::back_inserter(out));
        n.polygons.clear();
    });
    return out;
}

}  // namespace corv
