// Compare: numbers across kinds, texts with and without case, texts against numbers,
// Null/Empty first, and the order of kinds that cannot be compared by value.
#include <gtest/gtest.h>

#include <cmath>

#include "variant_test_util.h"

namespace {

using ado::Variant;
using namespace varianttest;

struct OrderCase {
    const char* what;
    Variant a, b;
    int expected;  // sign of Compare(a, b)
    bool caseSensitive = false;
};

int Sign(std::weak_ordering o) { return o < 0 ? -1 : o > 0 ? 1 : 0; }

TEST(Compare, OrdersAcrossKinds) {
    ScopedRegional es(ado::RegionalSettings::Spanish());
    const ado::RecordsetPtr none;
    auto pair = [](Variant first, Variant second) {
        ado::SafeArray a(std::vector<ado::SafeArray::Bound>{{1, 2}});
        a.At({1}) = first;
        a.At({2}) = second;
        return Variant(a);
    };
    const OrderCase cases[] = {
        {"true is -1", true, int32_t{-1}, 0},
        {"true (-1) below false", true, false, -1},
        {"currency and decimal", Cur(15000), Dec("1.5"), 0},
        {"currency and I8", Cur(10001), int64_t{1}, 1},
        {"currency and I8 beyond currency", Cur(INT64_MAX), int64_t{INT64_MAX}, -1},
        {"decimal and I8", Dec("9223372036854775807.5"), int64_t{INT64_MAX}, 1},
        {"decimal and double", Dec("0.1"), 0.1, 0},
        {"date is its serial", ado::Date{45000.5}, 45000.5f, 0},
        {"NaN first", std::nan(""), -1e300, -1},
        {"NaN equals NaN", std::nan(""), std::nan(""), 0},
        {"case ignored", "abc", "ABC", 0},
        {"case kept", "ABC", "abc", -1, true},
        {"accents fold", "ñandú", "ÑANDÚ", 0},
        {"diaeresis folds", "pingüino", "PINGÜINO", 0},
        {"multiplication sign does not fold", "×", "÷", -1},
        {"accented after plain", "é", "z", 1},
        {"text read as number", "10", int32_t{9}, 1},
        {"text with grouping", "1.000", int32_t{999}, 1},
        {"text against currency", "1,5", Cur(15000), 0},
        {"unreadable text as text", "abc", int32_t{9}, 1},
        {"text against date", "05/03/2024", ado::MakeDate(2024, 3, 5), 0},
        {"text against bool words", "verdadero", true, 0},
        {"Null and Empty", Variant::Null, Variant(), 0},
        {"Null first", Variant::Null, int32_t{-5}, -1},
        {"Empty before empty text", Variant(), "", -1},
        {"numbers before binary", 1e300, Variant(ado::Binary{0}), -1},
        {"binary bytewise", Variant(ado::Binary{1, 2}), Variant(ado::Binary{1, 3}), -1},
        {"arrays element by element", pair("x", int32_t{1}), pair("x", int32_t{2}), -1},
        {"arrays before objects", Variant(ado::SafeArray()), Variant(none), -1},
    };
    for (const OrderCase& c : cases) {
        EXPECT_EQ(Sign(ado::Compare(c.a, c.b, c.caseSensitive)), c.expected) << c.what;
        EXPECT_EQ(Sign(ado::Compare(c.b, c.a, c.caseSensitive)), -c.expected) << c.what << " reversed";
    }
}

TEST(Compare, StructuralEqualityKeepsKinds) {
    EXPECT_EQ(Variant(int16_t{1}), Variant(int16_t{1}));
    EXPECT_NE(Variant(int16_t{1}), Variant(int32_t{1}));
    EXPECT_EQ(Variant(Variant::Null), Variant(Variant::Null));
    EXPECT_NE(Variant(Variant::Null), Variant());
    EXPECT_NE(Dec("1.5"), Dec("1.50"));  // the scale is part of the value's form
    ado::SafeArray a(std::vector<ado::SafeArray::Bound>{{0, 2}});
    ado::SafeArray b(std::vector<ado::SafeArray::Bound>{{1, 2}});
    EXPECT_NE(Variant(a), Variant(b));  // same elements, other bounds
    b = a;
    EXPECT_EQ(Variant(a), Variant(b));
}

}  // namespace
