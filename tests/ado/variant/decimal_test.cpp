// CDec: parsing to the 96-bit form, text form, conversions and comparison.
#include <gtest/gtest.h>

#include "ado/ErrorNumbers.h"
#include "variant_test_util.h"

namespace {

using ado::Variant;
using namespace varianttest;

using u128 = unsigned __int128;
constexpr u128 kMax96 = (u128{1} << 96) - 1;

struct ParseCase {
    const char* text;  // United States settings
    ado::Decimal expected;
    int error;
};

TEST(Decimal, ParsesToMantissaAndScale) {
    ScopedRegional us(ado::RegionalSettings::UnitedStates());
    const ParseCase cases[] = {
        {"123.4500", {1234500, 4, false}, 0},
        {"-0", {0, 0, false}, 0},
        {"1.5E3", {1500, 0, false}, 0},
        {"2.5E-3", {25, 4, false}, 0},
        {"0.0000000000000000000000000001", {1, 28, false}, 0},
        {"0.00000000000000000000000000005", {0, 28, false}, 0},  // half of the last place: to even
        {"0.00000000000000000000000000015", {2, 28, false}, 0},
        {"0.000000000000000000000000000051", {1, 28, false}, 0},
        {"79228162514264337593543950335", {kMax96, 0, false}, 0},
        {"79228162514264337593543950336", {}, ado::err::Overflow},
        {"7922816251426433759354395033.54", {kMax96, 1, false}, 0},  // 29 digits kept, rounded
        {"7922816251426433759354395033.55", {u128{7922816251426433759ULL} * 1000000000 + 354395034, 0, false}, 0},
        {"1E28", {u128{10000000000000000000ULL} * 1000000000, 0, false}, 0},
        {"1E29", {}, ado::err::Overflow},
        {"1E-50", {0, 28, false}, 0},
        {"1,2,3", {123, 0, false}, 0},  // grouping separators may fall anywhere in the whole part
        {"1.2.3", {}, ado::err::TypeMismatch},
        {",5", {}, ado::err::TypeMismatch},
    };
    for (const ParseCase& c : cases)
        ExpectConversion(c.text, [&] { return Variant(c.text).ToDecimal(); }, c.expected, c.error);
}

TEST(Decimal, ConvertsFromAndToTheOtherNumbers) {
    ScopedRegional es(ado::RegionalSettings::Spanish());
    struct Case {
        const char* what;
        Variant in;
        const char* text;
    };
    const Case cases[] = {
        {"double keeps 15 digits", 0.1, "0,1"},
        {"third", 1.0 / 3, "0,333333333333333"},
        {"large double", 1.5e20, "150000000000000000000"},
        {"single keeps 7 digits", 0.1f, "0,1"},
        {"currency", Cur(-12345), "-1,2345"},
        {"I8 min", int64_t{INT64_MIN}, "-9223372036854775808"},
        {"true", true, "-1"},
        {"Empty", Variant(), "0"},
        {"date", ado::Date{1.25}, "1,25"},
    };
    for (const Case& c : cases) EXPECT_EQ(Variant(c.in.ToDecimal()).ToString(), c.text) << c.what;
    EXPECT_EQ(ErrorNumberOf([] { Variant(1e29).ToDecimal(); }), ado::err::Overflow);
    EXPECT_EQ(ErrorNumberOf([] { Variant(Variant::Null).ToDecimal(); }), ado::err::InvalidUseOfNull);
    EXPECT_EQ(Dec("-2.5").ToInt32(), -2);
    EXPECT_EQ(Dec("1.00005").ToCurrency().scaled, 10000);
    EXPECT_EQ(Dec("1.00015").ToCurrency().scaled, 10002);
    EXPECT_EQ(Dec("123456789.123456789").ToDouble(), 123456789.123456789);
}

TEST(Decimal, ComparesByValueWhateverTheScale) {
    const char* ascending[] = {
        "-79228162514264337593543950335", "-1.5", "-0.0000000000000000000000000001", "0", "0.1", "0.11",
        "1", "1.0000000000000000000000000001", "2", "7922816251426433759354395033.5",
        "79228162514264337593543950335",
    };
    for (size_t i = 0; i + 1 < std::size(ascending); ++i) {
        EXPECT_TRUE(std::is_lt(ado::Compare(Dec(ascending[i]), Dec(ascending[i + 1])))) << ascending[i];
        EXPECT_TRUE(std::is_gt(ado::Compare(Dec(ascending[i + 1]), Dec(ascending[i])))) << ascending[i];
    }
    EXPECT_TRUE(std::is_eq(ado::Compare(Dec("1.50"), Dec("1.5"))));
    EXPECT_TRUE(std::is_eq(ado::Compare(Dec("-0.00"), Dec("0"))));
}

}  // namespace
