// The three Boolean operations on solids, shared by every Boolean engine.
#pragma once

namespace corv {

enum class BooleanOp { union_, cut, intersect };

}  // namespace corv
