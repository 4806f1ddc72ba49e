#include "bsp/node.h"

#include <algorithm>
#include <iterator>
#include <utility>

#include "bsp/split.h"
#include "core/guard.h"

namespace corv {
namespace {

using PolygonList = std::vector<Polygon>;

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

void append(PolygonList& to, PolygonList& from) {
    if (to.empty()) {
        to.swap(from);
    } else {
        std::move(from.begin(), from.end(), std::back_inserter(to));
    }
    from.clear();
}

// Scratch space for one walk: spare lists to split into, so that a visit
// allocates nothing once the walk is under way.
class ListPool {
public:
    // An empty list with room for n polygons.
    PolygonList take(std::size_t n) {
        PolygonList list;
        if (!spare_.empty()) {
            list = std::move(spare_.back());
            spare_.pop_back();
        }
        list.reserve(n);
        return list;
    }
    void give(PolygonList& list) {
        list.clear();
        if (list.capacity() != 0 && spare_.size() < kKeep) spare_.push_back(std::move(list));
        list = PolygonList();
    }
    // A list about to wait on a stack gives back room it does not need.
    static PolygonList parked(PolygonList&& list) {
        if (list.capacity() > 2 * list.size() + 16) list.shrink_to_fit();
        return std::move(list);
    }

private:
    static constexpr std::size_t kKeep = 16;
    std::vector<PolygonList> spare_;
};

template <class NodeT>
struct Task {
    NodeT* node;
    PolygonList list;
};

// The clip of list by the tree under root, appended to out. The result at
// every node is the front-side result followed by the back-side result: the
// walk descends into the front side at once and parks the back side on a
// stack, so pieces reach out in exactly that order.
struct ClipWalk {
    ListPool pool;
    std::vector<Task<const Node>> stack;

    void run(const Node& root, PolygonList&& list, PolygonList& out) {
        stack.push_back({&root, std::move(list)});
        while (!stack.empty()) {
            const Node* n = stack.back().node;
            PolygonList cur = std::move(stack.back().list);
            stack.pop_back();
            while (true) {
                if (!n->plane) {
                    append(out, cur);
                    break;
                }
                const Plane& pl = *n->plane;
                const FloatPlane fp = float_plane(pl);
                PolygonList front = pool.take(cur.size());
                PolygonList back = pool.take(cur.size());
                for (Polygon& p : cur) split_into(pl, fp, std::move(p), front, back, front, back);
                guard::poll(static_cast<std::int64_t>(cur.size()));
                pool.give(cur);
                // Behind a leaf plane lies the inside of the solid: dropped.
                const bool back_goes_on = n->back && !back.empty();
                if (!back_goes_on) pool.give(back);
                if (!front.empty() && !n->front) append(out, front);
                if (!front.empty()) {
                    if (back_goes_on) stack.push_back({n->back.get(), ListPool::parked(std::move(back))});
                    cur = std::move(front);
                    n = n->front.get();
                } else {
                    pool.give(front);
                    if (!back_goes_on) break;
                    cur = std::move(back);
                    n = n->back.get();
                }
            }
        }
    }
};

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
    ListPool pool;
    std::vector<Task<Node>> stack;
    stack.push_back({this, std::move(list)});
    while (!stack.empty()) {
        Node* n = stack.back().node;
        PolygonList cur = std::move(stack.back().list);
        stack.pop_back();
        while (!cur.empty()) {
            auto it = cur.begin();
            if (!n->plane) {
                // The node takes the first polygon's plane and keeps that
                // polygon. A well-formed polygon lies in its own plane and
                // would be sorted here anyway; one whose vertices stray from
                // its plane is kept here too, so every child receives fewer
                // polygons than its parent and building always ends.
                n->plane = it->plane;
                n->polygons.push_back(std::move(*it));
                ++it;
            }
            const Plane& pl = *n->plane;
            const FloatPlane fp = float_plane(pl);
            const auto rest = static_cast<std::size_t>(cur.end() - it);
            PolygonList front_part = pool.take(rest);
            PolygonList back_part = pool.take(rest);
            for (; it != cur.end(); ++it)
                split_into(pl, fp, std::move(*it), n->polygons, n->polygons, front_part, back_part);
            guard::poll(static_cast<std::int64_t>(rest));
            pool.give(cur);
            if (!front_part.empty() && !n->front) n->front = std::make_unique<Node>();
            if (!back_part.empty() && !n->back) n->back = std::make_unique<Node>();
            // Front side first, as a recursive build would go.
            if (!front_part.empty()) {
                if (!back_part.empty()) {
                    stack.push_back({n->back.get(), ListPool::parked(std::move(back_part))});
                } else {
                    pool.give(back_part);
                }
                cur = std::move(front_part);
                n = n->front.get();
            } else {
                pool.give(front_part);
                cur = std::move(back_part);
                n = n->back.get();  // null only when cur is empty, which ends the loop
            }
        }
    }
}

std::vector<Polygon> Node::clip_polygons(std::vector<Polygon> list) const {
    PolygonList out;
    ClipWalk walk;
    walk.run(*this, std::move(list), out);
    return out;
}

void Node::clip_to(const Node& other) {
    ClipWalk walk;  // shared by all the node visits, with its spare lists
    for_each_node(*this, [&](Node& n) {
        PolygonList out;
        walk.run(other, std::move(n.polygons), out);
        n.polygons = std::move(out);
    });
}

void Node::invert() {
    for_each_node(*this, [](Node& n) {
        for (Polygon& p : n.polygons) p.flip();
        if (n.plane) *n.plane = n.plane->negated();
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
