// Shared checks of the localized engine against the BSP engine.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "bsp/boolean.h"
#include "canonical/watertight.h"
#include "core/measures.h"
#include "local/local_boolean.h"
#include "mesh/same_shape.h"

namespace corv::testing_local {

// Heavy cases (large meshes, many programs) are left out of the sanitizer
// build, where they would take minutes.
inline bool heavy_skipped() {
#if defined(__SANITIZE_ADDRESS__)
    return true;
#else
    return false;
#endif
}

inline const char* op_name(BooleanOp op) {
    switch (op) {
        case BooleanOp::union_: return "union";
        case BooleanOp::cut: return "cut";
        case BooleanOp::intersect: return "intersect";
    }
    return "?";
}

// The local result is watertight, has the BSP result's exact volume, and
// (when asked, on small cases) the same point set: both differences,
// computed by the BSP engine, have no volume.
inline ::testing::AssertionResult agrees_with_bsp(const Solid& local, const Solid& bsp, bool point_sets) {
    if (!watertight_ok(local)) return ::testing::AssertionFailure() << "local result is not watertight";
    const Rational vl = volume6(local.polygons), vb = volume6(bsp.polygons);
    if (vl != vb) {
        return ::testing::AssertionFailure() << "volume6 " << vl.text() << " (local) vs " << vb.text() << " (bsp)";
    }
    if (point_sets) {
        // The BSP engine cannot always cut a soup from itself (some star
        // shaped prism results leave a negative volume); where it cannot,
        // the local engine's own symmetric difference decides.
        const bool bsp_reliable = volume6(boolean(BooleanOp::cut, bsp, bsp).polygons).is_zero();
        if (bsp_reliable) {
            const Rational d1 = volume6(boolean(BooleanOp::cut, local, bsp).polygons);
            const Rational d2 = volume6(boolean(BooleanOp::cut, bsp, local).polygons);
            if (!d1.is_zero() || !d2.is_zero()) {
                return ::testing::AssertionFailure() << "differences " << d1.text() << ", " << d2.text();
            }
        } else if (!same_shape(local, bsp)) {
            return ::testing::AssertionFailure() << "not the same point set (local check)";
        }
    }
    return ::testing::AssertionSuccess();
}

inline ::testing::AssertionResult matches_bsp(BooleanOp op, const Solid& a, const Solid& b, bool point_sets = true) {
    const Solid local = local_boolean(op, a, b);
    const Solid bsp = boolean(op, a, b);
    auto r = agrees_with_bsp(local, bsp, point_sets);
    if (!r) r << " (" << op_name(op) << ")";
    return r;
}

}  // namespace corv::testing_local
