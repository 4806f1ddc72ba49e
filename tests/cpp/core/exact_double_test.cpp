#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "core/exact_double.h"
#include "core/panic.h"
#include "rs_entry/number_text.h"
#include "support/support.h"

namespace corv {
namespace {

using rs_entry::parse_r;

TEST(FromDouble, ExactDyadicValues) {
    EXPECT_EQ(from_double(0.0), Rational(0));
    EXPECT_EQ(from_double(-0.0), Rational(0));
    EXPECT_EQ(from_double(3.0), Rational(3));
    EXPECT_EQ(from_double(-0.375), parse_r("-3/8"));
    // 0.1 is not one tenth: it is the double nearest to it.
    EXPECT_EQ(from_double(0.1), parse_r("3602879701896397/36028797018963968"));
    EXPECT_EQ(from_double(std::ldexp(1.0, 62)), parse_r("4611686018427387904"));
    EXPECT_EQ(from_double(std::ldexp(-3.0, 61)), parse_r("-6917529027641081856"));
    EXPECT_EQ(from_double(std::ldexp(1.0, 100)), parse_r("1267650600228229401496703205376"));
    EXPECT_EQ(from_double(std::ldexp(1.0, -70)), parse_r("1/1180591620717411303424"));
}

TEST(FromDouble, ExtremesRoundTrip) {
    const double values[] = {std::numeric_limits<double>::max(),
                             std::numeric_limits<double>::min(),
                             std::numeric_limits<double>::denorm_min(),
                             -std::numeric_limits<double>::denorm_min(),
                             1.0 / 3.0,
                             -2.5e-300,
                             6.02214076e23,
                             0.5257311121191336};
    for (double d : values) {
        Rational r = from_double(d);
        EXPECT_EQ(r.to_double(), d) << d;
        EXPECT_EQ(r.sign(), d > 0 ? 1 : -1);
    }
    EXPECT_EQ(from_double(std::numeric_limits<double>::denorm_min()).denominator(),
              Integer(2) * from_double(std::ldexp(1.0, -1073)).denominator());
    // Neighbouring doubles stay distinct.
    const double one_up = std::nextafter(1.0, 2.0);
    EXPECT_EQ(from_double(one_up) - Rational(1), from_double(std::ldexp(1.0, -52)));
}

TEST(FromDouble, SmallValuesAndRoundTrips) {
    EXPECT_EQ(from_double(0.5), Rational(1) / Rational(2));
    EXPECT_EQ(from_double(-3.0), Rational(-3));
    EXPECT_EQ(from_double(0.0), Rational(0));
    EXPECT_EQ(from_double(std::ldexp(1.0, 70)).to_double(), std::ldexp(1.0, 70));
    EXPECT_EQ(from_double(0.1).to_double(), 0.1);
}

TEST(FromDouble, RejectsNonFinite) {
    EXPECT_PANIC_KIND(from_double(std::nan("")), PanicKind::invalid_argument);
    EXPECT_PANIC_KIND(from_double(std::numeric_limits<double>::infinity()), PanicKind::invalid_argument);
    EXPECT_PANIC_KIND(from_double(-std::numeric_limits<double>::infinity()), PanicKind::invalid_argument);
}

}  // namespace
}  // namespace corv
