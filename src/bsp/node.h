// Node: one node of a BSP tree over polygons. Every walk over the tree uses
// an explicit stack, so trees of any depth are safe to build, clip, invert,
// read out and destroy.
#pragma once

#include <memory>
#include <optional>
#include <vector>

#include "core/polygon.h"

namespace corv {

struct Node {
    std::vector<Polygon> polygons;  // lying in this node's plane, either orientation
    std::optional<Plane> plane;     // absent only in an empty node
    std::unique_ptr<Node> front;    // the half-space the normal points into
    std::unique_ptr<Node> back;

    Node() = default;
    Node(Node&& other) noexcept = default;
    Node& operator=(Node&& other) noexcept;
    Node(const Node&) = delete;
    Node& operator=(const Node&) = delete;
    ~Node();

    // Adds the polygons (consumed) to the tree rooted here.
    void build(std::vector<Polygon> list);
    // The parts of the polygons (consumed) outside the solid this tree bounds.
    std::vector<Polygon> clip_polygons(std::vector<Polygon> list) const;
    // Replaces the polygons of every node by what survives clipping by other.
    void clip_to(const Node& other);
    // Turns the tree inside out.
    void invert();
    // Copies of every polygon, in pre-order (node, front subtree, back subtree).
    std::vector<Polygon> all_polygons() const;
    // The same list, moved out; the tree is left without polygons.
    std::vector<Polygon> take_polygons();
};

}  // namespace corv
