#include <gtest/gtest.h>

#include "core/panic.h"
#include "core/rational.h"

using corv::parse_r;
using corv::Rational;

TEST(Smoke, Basic) {
    EXPECT_EQ(parse_r("-6/-4").text(), "3/2");
}
