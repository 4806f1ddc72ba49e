#include "bsp/cut_chain.h"

#include "bsp/combine.h"
#include "bsp/tree_shape.h"

namespace corv::bsp {

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
