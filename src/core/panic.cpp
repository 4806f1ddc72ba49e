#include "core/panic.h"

namespace corv {

const char* kind_name(PanicKind kind) {
    switch (kind) {
        case PanicKind::parse: return "parse";
        case PanicKind::zero_denominator: return "zero_denominator";
        case PanicKind::division_by_zero: return "division_by_zero";
        case PanicKind::index: return "index";
        case PanicKind::unknown_op: return "unknown_op";
        case PanicKind::empty_solid: return "empty_solid";
        case PanicKind::too_few_vertices: return "too_few_vertices";
        case PanicKind::bad_shape: return "bad_shape";
        case PanicKind::invalid_argument: return "invalid_argument";
        case PanicKind::not_manifold: return "not_manifold";
        case PanicKind::corrupt_data: return "corrupt_data";
    }
    return "unknown";
}

}  // namespace corv
