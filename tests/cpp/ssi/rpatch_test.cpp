#include <gtest/gtest.h>

#include "support/support.h"

#include "core/panic.h"
#include "rs_entry/number_text.h"
#include "rs_entry/ssi_entry.h"
#include "ssi/rpatch.h"

using namespace corv;
using rs_entry::parse_net;
using rs_entry::parse_r;
using rs_entry::TextNet;
using rs_entry::TextRows;

namespace {

Rational r(const char* t) { return parse_r(t); }
Point pt(std::initializer_list<const char*> ts) {
    Point p;
    for (const char* t : ts) p.push_back(r(t));
    return p;
}
RPatch patch(const TextNet& texts, const char* u0 = "0", const char* u1 = "1", const char* v0 = "0",
             const char* v1 = "1") {
    return RPatch{parse_net(texts), r(u0), r(u1), r(v0), r(v1)};
}
std::string text(const Vec3& p) { return point_text(p); }

const TextNet kUnitSquare = {{{"0", "0", "0"}, {"0", "1", "0"}}, {{"1", "0", "0"}, {"1", "1", "0"}}};

}  // namespace

TEST(SplitRows, CubicRowIsSplitByDeCasteljau) {
    // Control values 0, 8, 16, 24 in x (a straight cubic) and 0, 8, 8, 0 in y.
    std::vector<Row> rows = {{pt({"0", "0"}), pt({"8", "8"}), pt({"16", "8"}), pt({"24", "0"})}};
    auto [left, right] = RPatch::split_rows(rows, 2);
    ASSERT_EQ(left.size(), 1u);
    ASSERT_EQ(left[0].size(), 4u);
    ASSERT_EQ(right[0].size(), 4u);
    EXPECT_EQ(left[0][1], pt({"4", "4"}));
    EXPECT_EQ(left[0][2], pt({"8", "6"}));
    EXPECT_EQ(left[0][3], pt({"12", "6"}));
    EXPECT_EQ(right[0][0], left[0][3]);
    EXPECT_EQ(right[0][1], pt({"16", "6"}));
    EXPECT_EQ(right[0][2], pt({"20", "4"}));
    EXPECT_EQ(right[0][3], pt({"24", "0"}));
    EXPECT_EQ(rows[0][1], pt({"8", "8"}));  // the input is left alone
}

TEST(SplitRows, OnePointRowAndOddDenominators) {
    auto [left, right] = RPatch::split_rows({{pt({"1/3", "2"})}, {pt({"1", "2"}), pt({"2", "7/5"})}}, 2);
    EXPECT_EQ(left[0], Row{pt({"1/3", "2"})});
    EXPECT_EQ(right[0], Row{pt({"1/3", "2"})});
    EXPECT_EQ(left[1][1], pt({"3/2", "17/10"}));
    EXPECT_EQ(right[1][0], pt({"3/2", "17/10"}));
}

TEST(SplitRows, ShortPointInABlendOrAnEmptyRowFails) {
    EXPECT_PANIC_KIND(RPatch::split_rows({{pt({"0", "0", "0"}), pt({"1", "1"})}}, 3), corv::PanicKind::bad_shape);
    EXPECT_PANIC_KIND(RPatch::split_rows({Row{}}, 3), corv::PanicKind::bad_shape);
    // A lone point is never blended, so its length does not matter.
    EXPECT_NO_THROW(RPatch::split_rows({{pt({"1"})}}, 3));
}

TEST(Split4, BilinearQuartersMeetExactly) {
    auto q = patch(kUnitSquare).split4();
    const char* rects[4][4] = {{"0/1", "1/2", "0/1", "1/2"},
                               {"0/1", "1/2", "1/2", "1/1"},
                               {"1/2", "1/1", "0/1", "1/2"},
                               {"1/2", "1/1", "1/2", "1/1"}};
    for (std::size_t k = 0; k < 4; ++k) {
        EXPECT_EQ(q[k].u0.text(), rects[k][0]);
        EXPECT_EQ(q[k].u1.text(), rects[k][1]);
        EXPECT_EQ(q[k].v0.text(), rects[k][2]);
        EXPECT_EQ(q[k].v1.text(), rects[k][3]);
    }
    // Quarter corners: parent corners, edge midpoints and the centre.
    EXPECT_EQ(q[0].net[0][0], pt({"0", "0", "0"}));
    EXPECT_EQ(q[0].net[0][1], pt({"0", "1/2", "0"}));
    EXPECT_EQ(q[0].net[1][0], pt({"1/2", "0", "0"}));
    EXPECT_EQ(q[0].net[1][1], pt({"1/2", "1/2", "0"}));
    EXPECT_EQ(q[3].net[1][1], pt({"1", "1", "0"}));
    for (const RPatch& c : q) EXPECT_EQ(c.net[0].size() * c.net.size(), 4u);
}

TEST(Split4, NeighbouringQuartersShareTheirBoundary) {
    // 3 x 4 homogeneous net with unrelated values.
    TextNet t;
    for (int i = 0; i < 3; ++i) {
        TextRows row;
        for (int j = 0; j < 4; ++j) {
            row.push_back({std::to_string(i * 7 - j * j), std::to_string(j * 3 + i), std::to_string((i + 1) * (j - 2)),
                           std::to_string(1 + i + 2 * j) + "/3"});
        }
        t.push_back(row);
    }
    RPatch p = patch(t, "-1", "3", "1/3", "1/2");
    auto q = p.split4();
    for (const RPatch& c : q) {
        ASSERT_EQ(c.net.size(), 3u);
        for (const Row& row : c.net) ASSERT_EQ(row.size(), 4u);
    }
    for (std::size_t i = 0; i < 3; ++i) {
        EXPECT_EQ(q[0].net[i][3], q[1].net[i][0]);  // v boundary, u low
        EXPECT_EQ(q[2].net[i][3], q[3].net[i][0]);  // v boundary, u high
    }
    for (std::size_t j = 0; j < 4; ++j) {
        EXPECT_EQ(q[0].net[2][j], q[2].net[0][j]);  // u boundary, v low
        EXPECT_EQ(q[1].net[2][j], q[3].net[0][j]);  // u boundary, v high
    }
    EXPECT_EQ(q[0].net[0][0], p.net[0][0]);
    EXPECT_EQ(q[1].net[0][3], p.net[0][3]);
    EXPECT_EQ(q[2].net[2][0], p.net[2][0]);
    EXPECT_EQ(q[3].net[2][3], p.net[2][3]);
    EXPECT_EQ(q[0].u1.text(), "1/1");
    EXPECT_EQ(q[0].v1.text(), "5/12");
}

TEST(Split4, OddRectangleMidpoints) {
    auto q = patch(kUnitSquare, "1/3", "1", "0", "2").split4();
    EXPECT_EQ(q[0].u1.text(), "2/3");
    EXPECT_EQ(q[2].u0.text(), "2/3");
    EXPECT_EQ(q[0].v1.text(), "1/1");
    EXPECT_EQ(q[1].v0.text(), "1/1");
    EXPECT_EQ(q[3].v1.text(), "2/1");
}

TEST(Split4, OnePointNetGivesFourCopies) {
    auto q = patch({{{"2", "3", "5", "7"}}}).split4();
    for (const RPatch& c : q) {
        ASSERT_EQ(c.net.size(), 1u);
        ASSERT_EQ(c.net[0].size(), 1u);
        EXPECT_EQ(c.net[0][0], pt({"2", "3", "5", "7"}));
    }
    EXPECT_EQ(q[1].v0.text(), "1/2");
    EXPECT_EQ(q[2].u0.text(), "1/2");
}

TEST(Split4, RaggedNets) {
    EXPECT_PANIC_KIND(RPatch{}.split4(), corv::PanicKind::bad_shape);
    EXPECT_PANIC_KIND(patch({TextRows{}}).split4(), corv::PanicKind::bad_shape);
    EXPECT_PANIC_KIND(patch({{{"0", "0", "0"}, {"0", "1", "0"}}, {{"1", "0", "0"}}}).split4(),
                      corv::PanicKind::bad_shape);
    EXPECT_PANIC_KIND(patch({{{"0", "0", "0"}, {"0", "1", "0"}}, {{"1", "0", "0"}, {"1", "1"}}}).split4(),
                      corv::PanicKind::bad_shape);
    // Points past row 0's length are dropped.
    auto q = patch({{{"0", "0", "0"}, {"0", "1", "0"}}, {{"1", "0", "0"}, {"1", "1", "0"}, {"9", "9", "9"}}}).split4();
    for (const RPatch& c : q) EXPECT_EQ(c.net[1].size(), 2u);
    EXPECT_EQ(q[3].net[1][1], pt({"1", "1", "0"}));
}

TEST(BBox, CartesianBoxIsExactAndMayBeFlat) {
    PatchBox b = patch({{{"1", "5", "0"}, {"-2", "5", "0"}}, {{"3", "-1/2", "0"}, {"1", "5", "0"}}}).bbox();
    EXPECT_EQ(text(b.first), "-2/1,-1/2,0/1");
    EXPECT_EQ(text(b.second), "3/1,5/1,0/1");
    // A longer row's extra point is part of the box.
    b = patch({{{"0", "0", "0"}}, {{"1", "1", "1"}, {"-4", "0", "0"}}}).bbox();
    EXPECT_EQ(text(b.first), "-4/1,0/1,0/1");
}

TEST(BBox, HomogeneousPointsAreProjected) {
    PatchBox b = patch({{{"2", "4", "6", "2"}, {"1", "-2", "3", "-1"}}}).bbox();
    EXPECT_EQ(text(b.first), "-1/1,2/1,-3/1");
    EXPECT_EQ(text(b.second), "1/1,2/1,3/1");
    // Mode comes from the first point: a length-3 first point makes it Cartesian.
    b = patch({{{"0", "0", "0"}, {"4", "4", "4", "2"}}}).bbox();
    EXPECT_EQ(text(b.second), "4/1,4/1,4/1");
    // Length 5 is homogeneous; the fifth entry is ignored.
    b = patch({{{"3", "6", "9", "3", "100"}}}).bbox();
    EXPECT_EQ(text(b.first), "1/1,2/1,3/1");
}

TEST(BBox, Failures) {
    EXPECT_PANIC_KIND(RPatch{}.bbox(), corv::PanicKind::bad_shape);
    EXPECT_PANIC_KIND(patch({TextRows{}}).bbox(), corv::PanicKind::bad_shape);
    EXPECT_PANIC_KIND(patch({{{"0", "0", "0"}, {"1", "1"}}}).bbox(), corv::PanicKind::bad_shape);
    EXPECT_PANIC_KIND(patch({{{"0", "0", "0", "1"}, {"1", "1", "1"}}}).bbox(), corv::PanicKind::bad_shape);
    EXPECT_PANIC_KIND(patch({{{"0", "0", "0", "1"}, {"1", "1", "1", "0"}}}).bbox(), corv::PanicKind::division_by_zero);
    EXPECT_PANIC_KIND(patch({{{"0", "0"}}}).bbox(), corv::PanicKind::bad_shape);
}

TEST(BoxesDisjoint, TouchingBoxesMeet) {
    auto box = [](const char* lo, const char* hi) {
        auto v = [](const char* s) {
            return Vec3{r(std::string(1, s[0]).c_str()), r(std::string(1, s[1]).c_str()),
                        r(std::string(1, s[2]).c_str())};
        };
        return PatchBox{v(lo), v(hi)};
    };
    PatchBox a = box("000", "111");
    EXPECT_FALSE(boxes_disjoint(a, box("111", "222")));  // corner contact
    EXPECT_FALSE(boxes_disjoint(a, a));
    EXPECT_TRUE(boxes_disjoint(a, box("200", "311")));
    EXPECT_TRUE(boxes_disjoint(box("200", "311"), a));
    EXPECT_TRUE(boxes_disjoint(a, box("020", "131")));
    EXPECT_TRUE(boxes_disjoint(a, box("002", "113")));
}
