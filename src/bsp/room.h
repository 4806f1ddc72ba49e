// Room: the workspace and the two trees of a Boolean, kept between the
// Booleans of a chain (a chamfer's cuts) so that their arrays are sized once.
#pragma once

#include "bsp/tree.h"

namespace corv::bsp {

struct Room {
    Workspace ws;
    Tree a, b;

    // Empties everything for the next Boolean, keeping the arrays' room.
    void clear() {
        ws.clear();
        a.clear();
        b.clear();
    }
};

}  // namespace corv::bsp
