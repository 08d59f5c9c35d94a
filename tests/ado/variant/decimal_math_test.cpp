// Decimal arithmetic: the automation DECIMAL rules at the edges of 96 bits and 28 decimals.
#include <gtest/gtest.h>

#include "ado/ErrorNumbers.h"
#include "ado/variant/decimal_math.h"
#include "variant_test_util.h"

namespace {

using ado::Decimal;
using ado::Variant;
using namespace varianttest;
namespace decimal = ado::decimal;

using Operation = Decimal (*)(const Decimal&, const Decimal&);

struct ArithmeticCase {
    Operation op;
    const char* a;
    const char* b;
    const char* expected;  // the text form, or "" with an error
    int error;
};

constexpr const char* kMax = "79228162514264337593543950335";  // 2^96 - 1

TEST(DecimalMath, ArithmeticRoundsToWhatFits96BitsHalfToEven) {
    using decimal::Add, decimal::Subtract, decimal::Multiply, decimal::Divide;
    const ArithmeticCase cases[] = {
        {Add, "1.5", "1.25", "2.75", 0},
        {Add, kMax, "1", "", ado::err::Overflow},
        {Add, kMax, "-1", "79228162514264337593543950334", 0},
        {Add, "79228162514264337593543950334", "0.5", "79228162514264337593543950334", 0},  // ties to even
        {Add, "79228162514264337593543950333", "0.5", "79228162514264337593543950334", 0},
        {Add, kMax, "0.4", kMax, 0},
        {Add, kMax, "0.5", "", ado::err::Overflow},  // rounds up past 2^96
        {Add, "0.0000000000000000000000000001", "1", "1.0000000000000000000000000001", 0},
        {Add, "1.0000000000000000000000000001", "10", "11", 0},  // 30 digits: one dropped
        {Add, "1.0000000000000000000000000005", "10", "11", 0},
        {Add, "1.0000000000000000000000000015", "10", "11.000000000000000000000000002", 0},
        {Add, "0.1", "-0.3", "-0.2", 0},
        {Subtract, "-79228162514264337593543950335", "1", "", ado::err::Overflow},
        {Subtract, "1", "0.0000000000000000000000000001", "0.9999999999999999999999999999", 0},
        {Multiply, "7922816251426433759354395033.5", "10", kMax, 0},
        {Multiply, "39614081257132168796771975168", "2", "", ado::err::Overflow},
        {Multiply, kMax, "-1", "-79228162514264337593543950335", 0},
        {Multiply, "0.0000000000000001", "0.0000000000000001", "0", 0},
        {Multiply, "0.00000000000001", "0.00000000000005", "0.0000000000000000000000000005", 0},
        {Multiply, "0.0000000000000000000000000015", "0.1", "0.0000000000000000000000000002", 0},
        {Multiply, "0.0000000000000000000000000025", "0.1", "0.0000000000000000000000000002", 0},
        {Multiply, "1234567890.123456789", "9876543210.987654321", "12193263113702179522.374638011", 0},
        {Divide, "1", "3", "0.3333333333333333333333333333", 0},
        {Divide, "2", "3", "0.6666666666666666666666666667", 0},
        {Divide, "100", "3", "33.333333333333333333333333333", 0},
        {Divide, "-7", "2", "-3.5", 0},
        {Divide, "1", "0", "", ado::err::DivisionByZero},
        {Divide, "0", "0", "", ado::err::DivisionByZero},
        {Divide, kMax, "0.1", "", ado::err::Overflow},
        {Divide, kMax, "0.5", "", ado::err::Overflow},
        {Divide, kMax, "10", "7922816251426433759354395033.5", 0},
        {Divide, "1", kMax, "0", 0},
        {Divide, "0.0000000000000000000000000001", "2", "0", 0},
        {Divide, "0.0000000000000000000000000003", "2", "0.0000000000000000000000000002", 0},
        {Divide, "1", "7922816251426433759354395033.5", "0.0000000000000000000000000001", 0},
    };
    ScopedRegional us(ado::RegionalSettings::UnitedStates());
    for (const ArithmeticCase& c : cases) {
        const std::string what = std::string(c.a) + " op " + c.b;
        ExpectConversion(what, [&] { return Variant(c.op(Dec(c.a).AsDecimal(), Dec(c.b).AsDecimal())).ToString(); },
                         std::string(c.expected), c.error);
    }
}

TEST(DecimalMath, ScalesOfResults) {
    const Decimal a = Dec("1.50").AsDecimal(), one = Dec("1").AsDecimal();
    EXPECT_EQ(decimal::Add(a, one), (Decimal{250, 2, false}));  // the larger scale
    EXPECT_EQ(decimal::Multiply(a, a), (Decimal{22500, 4, false}));
    EXPECT_EQ(decimal::Divide(Dec("3.00").AsDecimal(), Dec("1.5").AsDecimal()), (Decimal{2, 0, false}));
    EXPECT_EQ(decimal::Subtract(a, a), (Decimal{0, 2, false}));  // zero is never negative
    EXPECT_EQ(decimal::Multiply(Dec("-0.5").AsDecimal(), Decimal{}), (Decimal{0, 1, false}));
    EXPECT_EQ(decimal::Negate(Decimal{0, 3, false}), (Decimal{0, 3, false}));
    EXPECT_EQ(decimal::Negate(a), (Decimal{150, 2, true}));
}

TEST(DecimalMath, RoundsToAScaleAndChecksAPrecision) {
    struct Case {
        const char* value;
        int precision, scale;
        const char* rounded;
        bool fits;
    };
    const Case cases[] = {
        {"2.345", 5, 2, "2.34", true},   {"2.355", 5, 2, "2.36", true},  {"-2.5", 5, 0, "-2", true},
        {"0.5", 1, 0, "0", true},        {"1.2", 5, 4, "1.2", true},      {"999.994", 5, 2, "999.99", true},
        {"999.995", 5, 2, "1000", false}, {"-99999", 5, 0, "-99999", true}, {"100000", 5, 0, "100000", false},
        {"0.001", 3, 3, "0.001", true},  {"1.001", 3, 3, "1.001", false},
        {kMax, 28, 0, kMax, false},      {"1234567890.123456", 28, 6, "1234567890.123456", true},
    };
    ScopedRegional us(ado::RegionalSettings::UnitedStates());
    for (const Case& c : cases) {
        const Decimal r = decimal::RoundToScale(Dec(c.value).AsDecimal(), c.scale);
        EXPECT_EQ(Variant(r).ToString(), c.rounded) << c.value;
        EXPECT_EQ(decimal::FitsPrecision(r, c.precision, c.scale), c.fits) << c.value;
    }
    EXPECT_FALSE(decimal::FitsPrecision(Dec("0.001").AsDecimal(), 5, 2));  // unrounded: too many decimals
    EXPECT_FALSE(decimal::RoundToScale(Dec("-0.4").AsDecimal(), 0).negative);
}

}  // namespace
