// Scratch space that the walks of one Boolean share: spare face lists, the
// stack of lists waiting for their subtree, and the buffers of the face
// sorter. Kept for the whole Boolean, so that once the first walks have
// sized them, building and clipping allocate almost nothing.
#pragma once

#include <cstdint>
#include <utility>
#include <vector>

#include "bsp/face.h"

namespace corv::bsp {

using FaceList = std::vector<Face>;

class ListPool {
public:
    // An empty list with room for n faces, reusing a spare one if there is one.
    FaceList take(std::size_t n) {
        FaceList list;
        if (!spare_.empty()) {
            list = std::move(spare_.back());
            spare_.pop_back();
        }
        list.reserve(n);
        return list;
    }
    // Takes the list's storage back (the list is left empty).
    void give(FaceList& list) {
        list.clear();
        if (list.capacity() != 0 && spare_.size() < kKeep) spare_.push_back(std::move(list));
        list = FaceList();
    }
    // A list about to wait on a stack gives back room it does not need.
    static FaceList parked(FaceList&& list) {
        if (list.capacity() > 2 * list.size() + 16) list.shrink_to_fit();
        return std::move(list);
    }

private:
    static constexpr std::size_t kKeep = 16;
    std::vector<FaceList> spare_;
};

// A list of faces on its way down the subtree at node.
struct Task {
    std::uint32_t node;
    FaceList list;
};

// The face sorter's buffers: corner sides, and the runs of the two pieces.
struct SortScratch {
    std::vector<signed char> sides;
    std::vector<std::uint32_t> front_run, back_run;
};

struct WalkScratch {
    ListPool pool;
    SortScratch sort;
    std::vector<Task> tasks;
    std::vector<std::uint32_t> nodes;  // for walks over a tree's nodes
    FaceList coplanar;                 // the faces a build step keeps at a node
};

}  // namespace corv::bsp
