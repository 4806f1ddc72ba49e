#include "exact_text/fraction_text.h"

#include <gtest/gtest.h>

#include <string>

#include "core/panic.h"
#include "support/support.h"

namespace corv::exact_text {
namespace {

Rational q(std::int64_t n, std::int64_t d = 1) { return Rational(n) / Rational(d); }

TEST(FractionText, IntegersFractionsAndDecimals) {
    EXPECT_EQ(parse_fraction_text("3"), q(3));
    EXPECT_EQ(parse_fraction_text("-7"), q(-7));
    EXPECT_EQ(parse_fraction_text("+2/4"), q(1, 2));
    EXPECT_EQ(parse_fraction_text("-1/3"), q(-1, 3));
    EXPECT_EQ(parse_fraction_text("0.25"), q(1, 4));
    EXPECT_EQ(parse_fraction_text(".5"), q(1, 2));
    EXPECT_EQ(parse_fraction_text("5."), q(5));
    EXPECT_EQ(parse_fraction_text("-0.125"), q(-1, 8));
    EXPECT_EQ(parse_fraction_text("1e3"), q(1000));
    EXPECT_EQ(parse_fraction_text("2.5E-4"), q(1, 4000));
    EXPECT_EQ(parse_fraction_text("1.5e+2"), q(150));
    EXPECT_EQ(parse_fraction_text("5.e1"), q(50));
    EXPECT_EQ(parse_fraction_text("1_000"), q(1000));
    EXPECT_EQ(parse_fraction_text("0.000_1"), q(1, 10000));
    EXPECT_EQ(parse_fraction_text("1e1_0"), q(10000000000));
    EXPECT_EQ(parse_fraction_text("  \t-0 \n"), q(0));
    EXPECT_EQ(parse_fraction_text("007/014"), q(1, 2));
}

TEST(FractionText, LongNumbersAreExact) {
    const std::string digits(60, '9');
    Rational big = parse_fraction_text(digits);
    EXPECT_EQ(big + Rational(1), parse_fraction_text("1e60"));
    EXPECT_EQ(parse_fraction_text("1/" + digits) * big, Rational(1));
    EXPECT_EQ(parse_fraction_text("0." + std::string(40, '0') + "1"), Rational(1) / parse_fraction_text("1e41"));
    EXPECT_EQ(parse_fraction_text("1e-100000") * parse_fraction_text("1e100000"), Rational(1));
}

TEST(FractionText, MistypedTextsAreRefusedNeverReadAsSomethingElse) {
    for (const char* text :
         {"",    " ",     "1/2/3", "1//2", "/2",   "1/",  "1/-2", "1/+2", "1.5/2", "1e3/2", ".",    "+.",  ".e3",
          "e3",  "1e",    "1e+",   "1ee3", "1e3.", "1_",  "_1",   "1__0", "1._5",  "1_.5",  "--1",  "+-1", "- 1",
          "1 2", "1.2.3", "0x10",  "inf",  "nan",  "1,5", "١",    "1/ 2", "½",     "1e_3",  "1.5f", "abc", "1/2 x"}) {
        EXPECT_PANIC_KIND(parse_fraction_text(text), PanicKind::parse) << '"' << text << '"';
    }
}

TEST(FractionText, ZeroDenominatorAndHugeExponentsHaveTheirOwnKinds) {
    EXPECT_PANIC_KIND(parse_fraction_text("1/0"), PanicKind::zero_denominator);
    EXPECT_PANIC_KIND(parse_fraction_text("0/000"), PanicKind::zero_denominator);
    EXPECT_PANIC_KIND(parse_fraction_text("1e100001"), PanicKind::invalid_argument);
    EXPECT_PANIC_KIND(parse_fraction_text("1e-99999999999999999999"), PanicKind::invalid_argument);
    EXPECT_EQ(parse_fraction_text("0e99999"), q(0));
    EXPECT_EQ(parse_fraction_text("1e0000000000000000000000000003"), q(1000));
}

TEST(FractionText, TheRefusalQuotesTheText) {
    try {
        parse_fraction_text("1/2/3");
        FAIL() << "no panic";
    } catch (const Panic& e) {
        EXPECT_NE(std::string(e.what()).find("\"1/2/3\""), std::string::npos) << e.what();
    }
}

}  // namespace
}  // namespace corv::exact_text
