// CInt, CLng and the 64-bit conversion: rounding half to even, range limits, Null/Empty.
#include <gtest/gtest.h>

#include <cmath>

#include "ado/ErrorNumbers.h"
#include "variant_test_util.h"

namespace {

using ado::Variant;
using namespace varianttest;

// A result: the value, or the error number when `error` is set.
struct R {
    int64_t value = 0;
    int error = 0;
};
R V(int64_t v) { return {v, 0}; }
R E(int e) { return {0, e}; }
constexpr int kOverflow = ado::err::Overflow;

struct IntCase {
    const char* what;
    Variant in;
    R cint, clng, cll;
};

void Check(const char* what, const char* target, const R& expected, auto convert) {
    ExpectConversion(std::string(what) + " " + target, [&]() -> int64_t { return convert(); }, expected.value,
                     expected.error);
}

TEST(ConvertInteger, RoundsHalfToEvenAndChecksEachRange) {
    ScopedRegional es(ado::RegionalSettings::Spanish());
    const IntCase cases[] = {
        {"2.5", 2.5, V(2), V(2), V(2)},
        {"3.5", 3.5, V(4), V(4), V(4)},
        {"-2.5", -2.5, V(-2), V(-2), V(-2)},
        {"32767.5", 32767.5, E(kOverflow), V(32768), V(32768)},
        {"-32768.5", -32768.5, V(-32768), V(-32768), V(-32768)},
        {"I4 40000", int32_t{40000}, E(kOverflow), V(40000), V(40000)},
        {"2147483647.5", 2147483647.5, E(kOverflow), E(kOverflow), V(2147483648)},
        {"I8 2^31", int64_t{2147483648}, E(kOverflow), E(kOverflow), V(2147483648)},
        {"2^63", 9223372036854775808.0, E(kOverflow), E(kOverflow), E(kOverflow)},
        {"NaN", std::nan(""), E(kOverflow), E(kOverflow), E(kOverflow)},
        {"true", true, V(-1), V(-1), V(-1)},
        {"Empty", Variant(), V(0), V(0), V(0)},
        {"Null", Variant::Null, E(94), E(94), E(94)},
        {"currency -3.5", Cur(-35000), V(-4), V(-4), V(-4)},
        {"decimal 32767.5", Dec("32767.5"), E(kOverflow), V(32768), V(32768)},
        {"decimal 2^63-1", Dec("9223372036854775807.4"), E(kOverflow), E(kOverflow), V(INT64_MAX)},
        {"decimal 2^63", Dec("9223372036854775807.5"), E(kOverflow), E(kOverflow), E(kOverflow)},
        {"text grouped", " 1.234,5 ", V(1234), V(1234), V(1234)},
        {"text 32767,5", "32767,5", E(kOverflow), V(32768), V(32768)},
        {"text int64 max exactly", "9223372036854775807", E(kOverflow), E(kOverflow), V(INT64_MAX)},
        {"text &HFFFF", "&HFFFF", V(-1), V(-1), V(-1)},
        {"text &H8000", "&h8000", V(-32768), V(-32768), V(-32768)},
        {"text &H10000", "&H10000", E(kOverflow), V(65536), V(65536)},
        {"text &H1G", "&H1G", E(13), E(13), E(13)},
        {"text dangling exponent", "1E", E(13), E(13), E(13)},
        {"text huge", "1E40", E(kOverflow), E(kOverflow), E(kOverflow)},
        {"binary", Variant(ado::Binary{1}), E(13), E(13), E(13)},
    };
    for (const IntCase& c : cases) {
        Check(c.what, "CInt", c.cint, [&] { return c.in.ToInt16(); });
        Check(c.what, "CLng", c.clng, [&] { return c.in.ToInt32(); });
        Check(c.what, "CLngLng", c.cll, [&] { return c.in.ToInt64(); });
    }
}

TEST(ConvertInteger, TextFollowsTheRegionalSeparators) {
    // "1.5" is one and a half in the United States and fifteen (grouped) in Spain.
    ScopedRegional us(ado::RegionalSettings::UnitedStates());
    EXPECT_EQ(Variant("1.5").ToInt32(), 2);
    EXPECT_EQ(Variant("1,234.5").ToInt32(), 1234);
    EXPECT_EQ(Variant("1,5").ToInt32(), 15);
    ado::RegionalSettings::SetCurrent(ado::RegionalSettings::Spanish());
    EXPECT_EQ(Variant("1.5").ToInt32(), 15);
    EXPECT_EQ(Variant("1,5").ToInt32(), 2);
}

}  // namespace
