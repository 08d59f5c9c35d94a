// CStr under Spanish and United States settings.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <random>

#include <fmt/format.h>

#include "ado/ErrorNumbers.h"
#include "variant_test_util.h"

namespace {

using ado::Variant;
using namespace varianttest;

struct TextCase {
    const char* what;
    Variant in;
    const char* spanish;
    const char* american;
};

Variant Moment(int y, int mo, int d, int h = 0, int mi = 0, int s = 0) { return ado::MakeDate(y, mo, d, h, mi, s); }

TEST(TextForm, EveryKindUnderBothSettings) {
    const TextCase cases[] = {
        {"third", 1.0 / 3, "0,333333333333333", "0.333333333333333"},
        {"1e20", 1e20, "1E+20", "1E+20"},
        {"1.5e-7", 1.5e-7, "1,5E-07", "1.5E-07"},
        {"no grouping", -1234567.5, "-1234567,5", "-1234567.5"},
        {"0.1 + 0.2", 0.1 + 0.2, "0,3", "0.3"},
        {"negative zero", -0.0, "0", "0"},
        {"single 0.1", 0.1f, "0,1", "0.1"},
        {"single eight digits", 12345678.0f, "1,234568E+07", "1.234568E+07"},
        {"currency", Cur(125000), "12,5", "12.5"},
        {"currency smallest", Cur(-1), "-0,0001", "-0.0001"},
        {"currency min", Cur(INT64_MIN), "-922337203685477,5808", "-922337203685477.5808"},
        {"decimal trailing zeros", Dec("123.4500"), "123,45", "123.45"},
        {"decimal zero with scale", Dec("0.000"), "0", "0"},
        {"I8 min", int64_t{INT64_MIN}, "-9223372036854775808", "-9223372036854775808"},
        {"true", true, "Verdadero", "True"},
        {"Empty", Variant(), "", ""},
        {"binary is UTF-8", Variant(ado::Binary{0x61, 0xC3, 0xB1}), "añ", "añ"},
        {"date and time", Moment(2024, 3, 5, 13, 5, 9), "05/03/2024 13:05:09", "3/5/2024 1:05:09 PM"},
        {"midnight is date only", Moment(2024, 3, 5), "05/03/2024", "3/5/2024"},
        {"no date part", ado::Date{0.5}, "12:00:00", "12:00:00 PM"},
        {"serial zero", ado::Date{0}, "0:00:00", "12:00:00 AM"},
        {"before the epoch", ado::Date{-1.25}, "29/12/1899 6:00:00", "12/29/1899 6:00:00 AM"},
        {"year 100", Moment(100, 1, 1), "01/01/0100", "1/1/0100"},
        {"last second", Moment(9999, 12, 31, 23, 59, 59), "31/12/9999 23:59:59", "12/31/9999 11:59:59 PM"},
    };
    for (const TextCase& c : cases) {
        EXPECT_EQ(c.in.ToString(ado::RegionalSettings::Spanish()), c.spanish) << c.what;
        EXPECT_EQ(c.in.ToString(ado::RegionalSettings::UnitedStates()), c.american) << c.what;
    }
}

// The general form of C's printf (%.15G, %.7G) is the platform's form under "." settings.
TEST(TextForm, RealsMatchTheGeneralFormOverManyMagnitudes) {
    std::mt19937_64 random(20240305);
    std::uniform_real_distribution<double> mantissa(-10, 10);
    std::uniform_int_distribution<int> exponent(-30, 30);
    const auto us = ado::RegionalSettings::UnitedStates();
    char expected[64];
    for (int i = 0; i < 20000; ++i) {
        const double x = mantissa(random) * std::pow(10.0, exponent(random));
        std::snprintf(expected, sizeof expected, "%.15G", x);
        ASSERT_EQ(Variant(x).ToString(us), expected) << fmt::format("{:.17g}", x);
        const auto f = static_cast<float>(x);
        if (std::isinf(f)) continue;
        std::snprintf(expected, sizeof expected, "%.7G", static_cast<double>(f));
        ASSERT_EQ(Variant(f).ToString(us), expected) << fmt::format("{:.9g}", f);
    }
}

TEST(TextForm, OtherSettingsShapeTheDate) {
    ado::RegionalSettings rs = ado::RegionalSettings::Spanish();
    rs.dateOrder = ado::RegionalSettings::DateOrder::YearMonthDay;
    rs.dateSeparator = "-";
    rs.leadingZeroDayMonth = false;
    rs.fourDigitYear = false;
    rs.leadingZeroHour = true;
    rs.timeSeparator = ".";
    EXPECT_EQ(Variant(Moment(2007, 3, 5, 8, 4, 0)).ToString(rs), "07-3-5 08.04.00");
}

TEST(TextForm, KindsWithoutTextFail) {
    EXPECT_EQ(ErrorNumberOf([] { Variant(Variant::Null).ToString(); }), ado::err::InvalidUseOfNull);
    EXPECT_EQ(ErrorNumberOf([] { Variant(ado::SafeArray()).ToString(); }), ado::err::TypeMismatch);
    EXPECT_EQ(ErrorNumberOf([] { Variant(ado::RecordsetPtr()).ToString(); }), ado::err::TypeMismatch);
    EXPECT_EQ(ErrorNumberOf([] { Variant(ado::Date{3e6}).ToString(); }), ado::err::Overflow);
}

}  // namespace
