#include "bsp/cut_chain.h"

#include "bsp/combine.h"
#include "bsp/tree_shape.h"

namespace corv::bsp {

void CutChain::cut(Solid cutter) {
    Workspace& ws = room_.ws;
    result_order_.clear();
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
    // The tree the next cut would build from the result: this one where it
    // rebuilds to itself, else laid out again without writing the faces out.
    bool kept = rebuilds_to_itself(ws, room_.a);
    if (!kept) {
        const std::optional<TreeShape> shape = shape_of(ws, room_.a);
        std::vector<Face> faces = take_faces(room_.a);
        room_.a.clear();
        kept = shape && build_from_shape(room_.a, faces, *shape);
        if (kept) {
            result_order_ = std::move(faces);  // the laid-out tree lists them in another order
        } else {
            working_ = ws.result(faces);  // reads the old working solid and the cutters
            read_.clear();
        }
    }
    in_tree_ = kept;
}

Solid CutChain::take() {
    if (!in_tree_) return std::move(working_);
    in_tree_ = false;
    if (!result_order_.empty()) return room_.ws.result(result_order_);
    return room_.ws.result(take_faces(room_.a));
}

}  // namespace corv::bsp
