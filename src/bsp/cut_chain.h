// CutChain: a solid cut by one cutter after another, each cut giving exactly
// what boolean(cut, working, cutter) gives.
//
// After each cut the chain keeps the workspace and lays out the tree that
// the next cut would build from the result (bsp/tree_shape.h: the cut's own
// tree where it rebuilds to itself), instead of writing the solid out,
// reading it back and building that tree by sorting; when the shape cannot
// be had, it writes the solid out and the next cut starts from it as
// boolean() does.
#pragma once

#include <cstddef>
#include <vector>

#include "bsp/room.h"

namespace corv::bsp {

class CutChain {
public:
    explicit CutChain(Solid start) : working_(std::move(start)) {}
    CutChain(const CutChain&) = delete;
    CutChain& operator=(const CutChain&) = delete;

    // The working solid becomes boolean(cut, working, cutter). After a cut
    // that throws, the chain must not be used again.
    void cut(Solid cutter);
    // The working solid; the chain is spent.
    Solid take();

private:
    Room room_;
    Solid working_;            // the working solid, while it is written out
    std::vector<Solid> read_;  // the cutters the kept tree reads points and planes from
    bool in_tree_ = false;     // whether room_.a is the working solid
    // The last cut's faces in the order of its result, when room_.a lists them
    // in another (it was laid out again); empty otherwise.
    std::vector<Face> result_order_;
};

}  // namespace corv::bsp
