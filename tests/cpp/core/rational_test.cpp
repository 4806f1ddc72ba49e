#include "core/rational.h"

#include <gtest/gtest.h>

#include "support/support.h"

#include <cmath>
#include <limits>
#include <random>

#include "core/panic.h"
#include "rs_entry/number_text.h"

using corv::Integer;
using corv::Rational;
using corv::rs_entry::parse_r;

namespace {

std::string round_trip(const char* text) { return parse_r(text).text(); }

}  // namespace

TEST(ParseR, AcceptsTheGrammar) {
    EXPECT_EQ(round_trip("3"), "3/1");
    EXPECT_EQ(round_trip("-3/6"), "-1/2");
    EXPECT_EQ(round_trip("4/-2"), "-2/1");
    EXPECT_EQ(round_trip("+2/+4"), "1/2");
    EXPECT_EQ(round_trip("0/5"), "0/1");
    EXPECT_EQ(round_trip("0/7"), "0/1");
    EXPECT_EQ(round_trip("007"), "7/1");
    EXPECT_EQ(round_trip("1_5/3"), "5/1");
    EXPECT_EQ(round_trip("1__0_"), "10/1");
    EXPECT_EQ(round_trip("2/4"), "1/2");
    EXPECT_EQ(round_trip("-6/-4"), "3/2");
    EXPECT_EQ(round_trip("10/5"), "2/1");
    EXPECT_EQ(round_trip("-0"), "0/1");
    EXPECT_EQ(round_trip("7/2/5"), "7/1");
    EXPECT_EQ(round_trip("7//"), "7/1");
    EXPECT_EQ(round_trip("7/x/5"), "7/1");
}

TEST(ParseR, RejectsMalformedText) {
    for (const char* bad : {"",   "/",   "1/", "/2", " 1",   "1 ", "1 0",  "1.5",   "1e3",      "0x10", "++1",  "-+1",
                            "_1", "-_1", "+",  "-",  "1/_2", "a",  "1/2a", "x/2/5", "\xc3\xa9", "+-1",  "1/++2"}) {
        EXPECT_PANIC_KIND(parse_r(bad), corv::PanicKind::parse) << "text: " << bad;
    }
}

TEST(ParseR, RejectsZeroDenominators) {
    for (const char* bad : {"1/0", "0/0", "5/-0", "1/0_0"})
        EXPECT_PANIC_KIND(parse_r(bad), corv::PanicKind::zero_denominator) << bad;
}

TEST(ParseR, LongNumbersRoundTripDigitForDigit) {
    const std::string forty = "1234567890123456789012345678901234567891";
    EXPECT_EQ(parse_r(forty).text(), forty + "/1");
    EXPECT_EQ(parse_r("-" + forty + "/3").text(), "-" + forty + "/3");
    // Reduction across the inline/heap boundary.
    EXPECT_EQ(parse_r("18446744073709551616/18446744073709551616").text(), "1/1");
    EXPECT_EQ(parse_r("9223372036854775807").text(), "9223372036854775807/1");
    EXPECT_EQ(parse_r("-9223372036854775808").text(), "-9223372036854775808/1");
    EXPECT_EQ(parse_r("9223372036854775808/2").text(), "4611686018427387904/1");
}

TEST(RationalArithmetic, SmallCases) {
    EXPECT_EQ((parse_r("1/2") + parse_r("1/3")).text(), "5/6");
    EXPECT_EQ((parse_r("1/2") - parse_r("1/2")).text(), "0/1");
    EXPECT_EQ((parse_r("1/6") + parse_r("1/3")).text(), "1/2");
    EXPECT_EQ((parse_r("1/6") - parse_r("1/6")).text(), "0/1");
    EXPECT_EQ((parse_r("-2/3") * parse_r("9/4")).text(), "-3/2");
    EXPECT_EQ((parse_r("2/3") / parse_r("-4/9")).text(), "-3/2");
    EXPECT_PANIC_KIND(parse_r("1") / Rational(0), corv::PanicKind::division_by_zero);
    EXPECT_LT(parse_r("1/3"), parse_r("1/2"));
    EXPECT_EQ(parse_r("2/4"), parse_r("1/2"));
    EXPECT_EQ(abs(parse_r("-5/7")).text(), "5/7");
}

TEST(RationalArithmetic, OverflowingInlineValuesMoveToGmpAndBack) {
    Rational big = parse_r("9223372036854775807");
    Rational sq = big * big;
    EXPECT_EQ(sq.text(), "85070591730234615847396907784232501249/1");
    EXPECT_EQ((sq / big).text(), "9223372036854775807/1");
    EXPECT_EQ((sq - sq).text(), "0/1");
    EXPECT_TRUE((sq - sq).is_zero());
    EXPECT_EQ(big + Rational(1) - Rational(1), big);  // round trip through the heap form
    Rational tiny = Rational(1) / big;
    EXPECT_EQ((tiny * tiny * big).text(), "1/9223372036854775807");
    EXPECT_EQ(-Rational(std::numeric_limits<std::int64_t>::min()), parse_r("9223372036854775808"));
}

// Random mixes of inline and heap values against GMP's own mpq arithmetic.
TEST(RationalArithmetic, MatchesGmpOnRandomValues) {
    std::mt19937_64 rng(12345);
    auto random_rational = [&]() {
        static const std::int64_t scales[] = {3, 1000, std::int64_t(1) << 31, std::int64_t(1) << 62,
                                              std::numeric_limits<std::int64_t>::max()};
        std::int64_t sn = scales[rng() % 5], sd = scales[rng() % 5];
        std::int64_t n = std::int64_t(rng() % std::uint64_t(sn)) - sn / 2;
        std::int64_t d = std::int64_t(rng() % std::uint64_t(sd)) + 1;
        // Integers and shared denominators take shortcuts of their own.
        static const std::int64_t common[] = {1, 1, 7, std::int64_t(1) << 40};
        if (rng() % 3 == 0) d = common[rng() % 4];
        Rational r = Rational(n) / Rational(d);
        if (rng() % 4 == 0) r = r * parse_r("123456789012345678901234567890");
        return r;
    };
    auto to_q = [](const Rational& r, mpq_t q) {
        mpz_set(mpq_numref(q), r.numerator().get());
        mpz_set(mpq_denref(q), r.denominator().get());
    };
    mpq_t a, b, c;
    mpq_init(a);
    mpq_init(b);
    mpq_init(c);
    for (int i = 0; i < 20000; ++i) {
        Rational x = random_rational(), y = random_rational();
        to_q(x, a);
        to_q(y, b);
        mpq_add(c, a, b);
        ASSERT_EQ(x + y, Rational(Integer::copy_of(mpq_numref(c)), Integer::copy_of(mpq_denref(c))));
        Rational m = x * y;
        mpq_mul(c, a, b);
        Rational back(Integer::copy_of(mpq_numref(c)), Integer::copy_of(mpq_denref(c)));
        ASSERT_EQ(m, back);
        ASSERT_EQ(m.numerator().text() + "/" + m.denominator().text(), m.text());
        Rational diff = x - y;
        mpq_sub(c, a, b);
        ASSERT_EQ(diff, Rational(Integer::copy_of(mpq_numref(c)), Integer::copy_of(mpq_denref(c))));
        if (!y.is_zero()) {
            mpq_div(c, a, b);
            ASSERT_EQ(x / y, Rational(Integer::copy_of(mpq_numref(c)), Integer::copy_of(mpq_denref(c))));
        }
        int cmp = mpq_cmp(a, b);
        ASSERT_EQ(x < y, cmp < 0);
        ASSERT_EQ(x == y, cmp == 0);
    }
    mpq_clear(a);
    mpq_clear(b);
    mpq_clear(c);
}

TEST(RationalToDouble, IsCorrectlyRounded) {
    EXPECT_EQ(parse_r("1/3").to_double(), 1.0 / 3.0);
    EXPECT_EQ(parse_r("-7/2").to_double(), -3.5);
    // 2^53 + 1 is a tie between 2^53 and 2^53 + 2: ties to even gives 2^53.
    EXPECT_EQ(parse_r("9007199254740993").to_double(), 9007199254740992.0);
    // 2^53 + 3 ties up to 2^53 + 4.
    EXPECT_EQ(parse_r("9007199254740995").to_double(), 9007199254740996.0);
    // Just above the tie rounds up (truncation would give the lower neighbour).
    EXPECT_EQ(parse_r("90071992547409930000000000001/10000000000000").to_double(), 9007199254740994.0);
    // Beyond the range: infinities.
    std::string e400 = "1" + std::string(400, '0');
    EXPECT_EQ(parse_r(e400).to_double(), std::numeric_limits<double>::infinity());
    EXPECT_EQ(parse_r("-" + e400).to_double(), -std::numeric_limits<double>::infinity());
    EXPECT_EQ(parse_r("1/" + e400).to_double(), 0.0);
    // Subnormals: 2^-1074 exactly, and half of it rounds to even (zero).
    Rational min_sub = Rational(1);
    for (int i = 0; i < 1074; ++i) min_sub = min_sub / Rational(2);
    EXPECT_EQ(min_sub.to_double(), std::numeric_limits<double>::denorm_min());
    EXPECT_EQ((min_sub / Rational(2)).to_double(), 0.0);
    EXPECT_EQ((min_sub * parse_r("3/2")).to_double(), 2 * std::numeric_limits<double>::denorm_min());
    // The largest double and the first value that rounds to infinity.
    Rational max = parse_r(
        "17976931348623157081452742373170435679807056752584499659891747680315726078002853876058955863276687817154045895"
        "35143824642343213268894641827684675467035375169860499105765512820762454900903893289440758685084551339423045832"
        "36903222948165808559332123348274797826204144723168738177180919299881250404026184124858368");
    EXPECT_EQ(max.to_double(), std::numeric_limits<double>::max());
    // Halfway between the largest double and 2^1024: ties to even overflows.
    Rational halfway = parse_r(
        "17976931348623158079372897140530341507993413271003782693617377898044496829276475094664901797758720709633028641"
        "66928879109465555478519404026306574886715058206819089020007083836762738548458177115317644757302700698555713669"
        "59622842914819860834936475292719074168444365510704342711559699508093042880177904174497792");
    EXPECT_EQ(halfway.to_double(), std::numeric_limits<double>::infinity());
    EXPECT_EQ((halfway - parse_r("1/2")).to_double(), std::numeric_limits<double>::max());
    EXPECT_EQ(Rational(std::numeric_limits<std::int64_t>::min()).to_double(), -9223372036854775808.0);
}

TEST(Integer, SquareRootsAndDivision) {
    EXPECT_EQ(isqrt(Integer(24)).text(), "4");
    EXPECT_EQ(isqrt(Integer(25)).text(), "5");
    EXPECT_PANIC_KIND(isqrt(Integer(-1)), corv::PanicKind::invalid_argument);
    EXPECT_PANIC_KIND(divexact(Integer(4), Integer(0)), corv::PanicKind::division_by_zero);
    EXPECT_EQ(lcm(Integer(4), Integer(6)).text(), "12");
    EXPECT_EQ(gcd(Integer(0), Integer(-6)).text(), "6");
}

// Fractions kept unreduced in 128 bits come back reduced, with the sign on
// the numerator, inline when small and on the heap when not.
TEST(RationalArithmetic, RatiosOf128BitPartsAreReduced) {
    using i128 = __int128;
    EXPECT_EQ(Rational::from_ratio_i128(6, -4), parse_r("-3/2"));
    EXPECT_EQ(Rational::from_ratio_i128(-6, -4), parse_r("3/2"));
    EXPECT_EQ(Rational::from_ratio_i128(0, -7), Rational(0));
    const i128 two_100 = i128(1) << 100;
    EXPECT_EQ(Rational::from_ratio_i128(two_100 * 3, two_100 * 9), parse_r("1/3"));
    EXPECT_EQ(Rational::from_ratio_i128(-(two_100 + 1), 2), parse_r("-1267650600228229401496703205377/2"));
    EXPECT_PANIC_KIND(Rational::from_ratio_i128(1, 0), corv::PanicKind::division_by_zero);
    EXPECT_PANIC_KIND(Rational::from_ratio_i128(i128(static_cast<unsigned __int128>(1) << 127), 3),
                      corv::PanicKind::invalid_argument);
}

TEST(RationalArithmetic, HalvedEqualsDivisionByTwo) {
    const char* values[] = {"0",
                            "3",
                            "-3",
                            "4/7",
                            "-5/9223372036854775807",
                            "9223372036854775807",
                            "-9223372036854775807/3",
                            "123456789012345678901234567891/7",
                            "-1/4611686018427387904"};
    for (const char* text : values) {
        Rational v = parse_r(text);
        EXPECT_EQ(v.halved(), v / Rational(2)) << text;
        EXPECT_EQ(v.halved().text(), (v / Rational(2)).text()) << text;
    }
    // Halving a heap value can bring it back inline.
    EXPECT_EQ(parse_r("18446744073709551614").halved().text(), "9223372036854775807/1");
}
