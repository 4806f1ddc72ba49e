// Helpers shared by the C++ tests of every area: readable printing of exact
// values, the labels of a polygon list, a Panic's text and a check of its
// kind.
#pragma once

#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

#include "core/panic.h"
#include "core/solid.h"

namespace corv {

// GoogleTest prints values through these (found by argument-dependent lookup).
inline void PrintTo(const Rational& q, std::ostream* os) { *os << q.text(); }
inline void PrintTo(const Vec3& p, std::ostream* os) { *os << '(' << point_text(p) << ')'; }

namespace test {

// Whether two polygons hold one loop (copies of a polygon share theirs).
inline bool shares_loop(const Polygon& a, const Polygon& b) { return &a.vertices() == &b.vertices(); }

inline std::vector<std::string> labels(const std::vector<Polygon>& polygons) {
    std::vector<std::string> out;
    out.reserve(polygons.size());
    for (const Polygon& p : polygons) out.push_back(p.label);
    return out;
}
inline std::vector<std::string> labels(const Solid& s) { return labels(s.polygons); }

// Every polygon the same, in the same order: loop (its start and
// direction), double copies, plane and label.
inline void expect_same_polygons(const Solid& got, const Solid& want, const std::string& what) {
    ASSERT_EQ(got.polygons.size(), want.polygons.size()) << what;
    for (std::size_t i = 0; i < got.polygons.size(); ++i) {
        const Polygon& g = got.polygons[i];
        const Polygon& w = want.polygons[i];
        ASSERT_EQ(g.vertices(), w.vertices()) << what << ", polygon " << i;
        ASSERT_EQ(g.float_vertices(), w.float_vertices()) << what << ", polygon " << i;
        ASSERT_EQ(g.plane.normal, w.plane.normal) << what << ", polygon " << i;
        ASSERT_EQ(g.plane.offset, w.plane.offset) << what << ", polygon " << i;
        ASSERT_EQ(g.label, w.label) << what << ", polygon " << i;
    }
}

// The text of the Panic that run() throws, or "(no panic)".
template <class Run>
std::string panic_text(Run&& run) {
    try {
        run();
    } catch (const Panic& e) {
        return e.what();
    }
    return "(no panic)";
}

// Success when run() throws a Panic of the expected kind; a failure naming
// what happened instead (another kind, another exception, or nothing).
template <class Run>
::testing::AssertionResult panics_with(Run&& run, PanicKind expected, const char* code) {
    try {
        run();
    } catch (const Panic& e) {
        if (e.kind == expected) return ::testing::AssertionSuccess();
        return ::testing::AssertionFailure() << code << " threw a Panic of kind " << kind_name(e.kind) << " (\""
                                             << e.what() << "\"), expected kind " << kind_name(expected);
    } catch (const std::exception& e) {
        return ::testing::AssertionFailure() << code << " threw another exception: " << e.what();
    } catch (...) {
        return ::testing::AssertionFailure() << code << " threw something that is not a std::exception";
    }
    return ::testing::AssertionFailure() << code << " threw nothing, expected a Panic of kind " << kind_name(expected);
}

}  // namespace test
}  // namespace corv

// EXPECT_THROW for a Panic that also checks its kind.
#define EXPECT_PANIC_KIND(statement, kind) \
    EXPECT_TRUE(::corv::test::panics_with([&] { static_cast<void>(statement); }, kind, #statement))
