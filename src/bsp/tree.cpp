#include "bsp/tree.h"

#include <utility>

#include "bsp/face_sort.h"
#include "core/guard.h"

namespace corv::bsp {
namespace {

void append(FaceList& to, FaceList& from) {
    if (to.empty()) {
        to.swap(from);
    } else {
        to.insert(to.end(), from.begin(), from.end());
    }
    from.clear();
}

// The part of the shared task stack that one walk uses: the tasks above
// where it began (walks run one after another on the same stack).
class WalkStack {
public:
    WalkStack(Workspace& ws, FaceList&& first) : tasks_(ws.scratch.tasks), bottom_(tasks_.size()) {
        tasks_.push_back({0, std::move(first)});
    }
    // Takes the list waiting last into n and cur; false when none is left.
    bool next(std::uint32_t& n, FaceList& cur) {
        if (tasks_.size() <= bottom_) return false;
        n = tasks_.back().node;
        cur = std::move(tasks_.back().list);
        tasks_.pop_back();
        return true;
    }
    // Leaves a list to wait for the subtree at node.
    void park(std::uint32_t node, FaceList&& list) { tasks_.push_back({node, ListPool::parked(std::move(list))}); }

private:
    std::vector<Task>& tasks_;
    std::size_t bottom_;
};

// The clip of a list by a tree, appended to out. The walk descends into the
// front side at once and parks the back side on a stack, so pieces reach out
// in the order of a recursive clip: front result, then back result.
void clip_walk(Workspace& ws, const Tree& tree, FaceList&& list, FaceList& out) {
    ListPool& pool = ws.scratch.pool;
    guard::Watch* const watch = guard::current();
    WalkStack stack(ws, std::move(list));
    std::uint32_t n = 0;
    FaceList cur;
    while (stack.next(n, cur)) {
        while (true) {
            const TreeNode& node = tree.nodes[n];
            if (node.plane == kNoPlane) {
                append(out, cur);
                break;
            }
            FaceList front = pool.take(cur.size());
            FaceList back = pool.take(cur.size());
            for (const Face& f : cur) sort_face(ws, ws.scratch.sort, node.plane, f, front, back, front, back);
            guard::poll(watch, static_cast<std::int64_t>(cur.size()));
            pool.give(cur);
            // Behind a leaf plane lies the inside of the solid: dropped.
            const bool back_goes_on = node.back != kNoNode && !back.empty();
            if (!back_goes_on) pool.give(back);
            if (!front.empty() && node.front == kNoNode) append(out, front);
            if (!front.empty()) {
                if (back_goes_on) stack.park(node.back, std::move(back));
                cur = std::move(front);
                n = node.front;
            } else {
                pool.give(front);
                if (!back_goes_on) break;
                cur = std::move(back);
                n = node.back;
            }
        }
    }
}

// Visits every node (pre-order) with f.
template <class TreeT, class F>
void for_each_node(TreeT& tree, std::vector<std::uint32_t>& stack, F&& f) {
    stack.assign(1, 0);
    while (!stack.empty()) {
        const std::uint32_t n = stack.back();
        stack.pop_back();
        f(tree.nodes[n]);
        if (tree.nodes[n].back != kNoNode) stack.push_back(tree.nodes[n].back);
        if (tree.nodes[n].front != kNoNode) stack.push_back(tree.nodes[n].front);
    }
}

std::uint32_t new_node(Tree& tree) {
    tree.nodes.emplace_back();
    return next_id(tree.nodes.size() - 1);  // never kNoNode
}

}  // namespace

void build(Workspace& ws, Tree& tree, std::vector<Face>&& list) {
    ListPool& pool = ws.scratch.pool;
    guard::Watch* const watch = guard::current();
    WalkStack stack(ws, std::move(list));
    std::uint32_t n = 0;
    FaceList cur;
    while (stack.next(n, cur)) {
        while (!cur.empty()) {
            std::size_t i = 0;
            if (tree.nodes[n].plane == kNoPlane) {
                // The node takes the first face's plane and keeps that face.
                // A well-formed face lies in its own plane and would be sorted
                // here anyway; one whose corners stray from its plane is kept
                // here too, so every child receives fewer faces than its
                // parent and building always ends.
                tree.nodes[n].plane = cur[0].plane;
                tree.nodes[n].faces.push_back(cur[0]);
                i = 1;
            }
            const std::uint32_t plane = tree.nodes[n].plane;
            const std::size_t rest = cur.size() - i;
            FaceList front_part = pool.take(rest);
            FaceList back_part = pool.take(rest);
            FaceList& here = ws.scratch.coplanar;  // both orientations, in order
            here.clear();
            for (; i < cur.size(); ++i)
                sort_face(ws, ws.scratch.sort, plane, cur[i], here, here, front_part, back_part);
            for (const Face& f : here) tree.nodes[n].faces.push_back(f);
            guard::poll(watch, static_cast<std::int64_t>(rest));
            pool.give(cur);
            // new_node may move the nodes: children are looked up by index.
            if (!front_part.empty() && tree.nodes[n].front == kNoNode) {
                const std::uint32_t c = new_node(tree);
                tree.nodes[n].front = c;
            }
            if (!back_part.empty() && tree.nodes[n].back == kNoNode) {
                const std::uint32_t c = new_node(tree);
                tree.nodes[n].back = c;
            }
            // Front side first, as a recursive build would go.
            if (!front_part.empty()) {
                if (!back_part.empty()) {
                    stack.park(tree.nodes[n].back, std::move(back_part));
                } else {
                    pool.give(back_part);
                }
                cur = std::move(front_part);
                n = tree.nodes[n].front;
            } else {
                pool.give(front_part);
                cur = std::move(back_part);
                n = tree.nodes[n].back;  // no node only when cur is empty, which ends the loop
            }
        }
    }
}

std::vector<Face> clip_faces(Workspace& ws, const Tree& tree, std::vector<Face>&& list) {
    FaceList out;
    clip_walk(ws, tree, std::move(list), out);
    return out;
}

void clip_to(Workspace& ws, Tree& tree, const Tree& other) {
    ListPool& pool = ws.scratch.pool;
    for_each_node(tree, ws.scratch.nodes, [&](TreeNode& n) {
        if (n.faces.empty()) return;
        FaceList in = pool.take(n.faces.size());
        n.faces.move_to(in);
        FaceList out;  // takes over the first surviving list's storage
        clip_walk(ws, other, std::move(in), out);
        for (const Face& f : out) n.faces.push_back(f);
        pool.give(out);
    });
}

void invert(Tree& tree) {
    for (TreeNode& n : tree.nodes) {
        for (std::size_t i = 0; i < n.faces.size(); ++i) flip(n.faces[i]);
        if (n.plane != kNoPlane) n.plane ^= kNegated;
        std::swap(n.front, n.back);
    }
}

std::vector<Face> take_faces(Tree& tree) {
    std::vector<Face> out;
    std::vector<std::uint32_t> stack;
    for_each_node(tree, stack, [&](TreeNode& n) { n.faces.move_to(out); });
    return out;
}

}  // namespace corv::bsp
