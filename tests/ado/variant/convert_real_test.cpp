// CDbl, CSng, CCur, CDate of numbers and CBool, with their limits and the Null/Empty rules.
#include <gtest/gtest.h>

#include "ado/ErrorNumbers.h"
#include "variant_test_util.h"

namespace {

using ado::Variant;
using namespace varianttest;

template <class T>
struct Case {
    const char* what;
    Variant in;
    T expected;
    int error;
};

template <class T, class F>
void RunTable(std::initializer_list<Case<T>> cases, F convert) {
    ScopedRegional es(ado::RegionalSettings::Spanish());
    for (const Case<T>& c : cases) ExpectConversion(c.what, [&] { return convert(c.in); }, c.expected, c.error);
}

TEST(ConvertReal, DoubleFromEveryKind) {
    RunTable<double>(
        {
            {"Null", Variant::Null, 0, 94},
            {"decimal", Dec("0.1"), 0.1, 0},
            {"decimal of 28 places", Dec("0.0000000000000000000000000001"), 1e-28, 0},
            {"decimal max", Dec("79228162514264337593543950335"), 79228162514264337593543950335.0, 0},
            {"text grouped", "1.234,5", 1234.5, 0},
            {"text exponent", "1,5E-07", 1.5e-7, 0},
            {"text 60 digits", "123456789012345678901234567890123456789012345678901234567891",
             123456789012345678901234567890123456789012345678901234567891.0, 0},
            {"text point is grouping here", "1.5E3", 15e3, 0},
            {"text underflow", "1E-400", 0, 0},
            {"text overflow", "1E400", 0, 6},
            {"text word", "uno", 0, 13},
        },
        [](const Variant& v) { return v.ToDouble(); });
}

TEST(ConvertReal, SingleFromEveryKind) {
    RunTable<float>(
        {
            {"in range", 3.4e38, 3.4e38f, 0},
            {"too large", 3.5e38, 0, 6},
            {"too small", -3.5e38, 0, 6},
            {"text", "0,1", 0.1f, 0},
            {"text too large", "3,5E+38", 0, 6},
            {"decimal", Dec("1.5"), 1.5f, 0},
            {"Null", Variant::Null, 0, 94},
        },
        [](const Variant& v) { return v.ToSingle(); });
}

TEST(ConvertReal, CurrencyRoundsHalfToEvenAtTheFourthDecimal) {
    RunTable<int64_t>(
        {
            {"text half down to even", "1,23445", 12344, 0},
            {"text half up to even", "1,23455", 12346, 0},
            {"text past half", "1,234450001", 12345, 0},
            {"largest whole double", 922337203685477.0, 9223372036854770000, 0},
            {"double too large", 1e15, 0, 6},
            {"I8 too large", int64_t{922337203685478}, 0, 6},
            {"decimal max", Dec("922337203685477.5807"), INT64_MAX, 0},
            {"decimal rounds past max", Dec("922337203685477.58075"), 0, 6},
            {"decimal min", Dec("-922337203685477.5808"), INT64_MIN, 0},
            {"Null", Variant::Null, 0, 94},
            {"text word", "caro", 0, 13},
        },
        [](const Variant& v) { return v.ToCurrency().scaled; });
}

TEST(ConvertReal, DateOfANumberIsTheSerialWithinTheCalendar) {
    RunTable<double>(
        {
            {"whole", int32_t{45000}, 45000, 0},
            {"last instant", 2958465.99, 2958465.99, 0},
            {"after 9999", 2958466.0, 0, 6},
            {"before year 100", -657435.0, 0, 6},
            {"Null", Variant::Null, 0, 94},
            {"text", "mañana", 0, 13},
            {"array", Variant(ado::SafeArray(std::vector<ado::SafeArray::Bound>{{0, 1}})), 0, 13},
        },
        [](const Variant& v) { return v.ToDate().serial; });
}

TEST(ConvertReal, BoolFromNumbersAndWords) {
    RunTable<bool>(
        {
            {"zero", int16_t{0}, false, 0},
            {"decimal zero with scale", Dec("0.00"), false, 0},
            {"Null", Variant::Null, false, 94},
            {"regional true", "Verdadero", true, 0},
            {"regional false, any case", " falso ", false, 0},
            {"English true", "True", true, 0},
            {"text zero", "0,0", false, 0},
            {"text other word", "sí", false, 13},
            {"text empty", "", false, 13},
        },
        [](const Variant& v) { return v.ToBool(); });
}

}  // namespace
