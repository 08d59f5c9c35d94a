// Exact accessors, VARTYPE numbers, ConvertTo, and SafeArray bounds and layout.
#include <gtest/gtest.h>

#include "ado/ErrorNumbers.h"
#include "variant_test_util.h"

namespace {

using ado::Variant;
using ado::VariantType;
using namespace varianttest;
using Bounds = std::vector<ado::SafeArray::Bound>;

TEST(Variant, ExactAccessRefusesOtherKinds) {
    const Variant i2(int16_t{7});
    EXPECT_EQ(i2.AsI2(), 7);
    const std::function<void()> wrong[] = {
        [&] { i2.AsI4(); }, [&] { i2.AsBool(); }, [&] { i2.AsDate(); }, [&] { i2.AsArray(); },
        [&] { Variant(int32_t{7}).AsI2(); }, [&] { Variant(1.0).AsR4(); }, [&] { Variant("1").AsBinary(); },
    };
    for (const auto& f : wrong) EXPECT_EQ(ErrorNumberOf(f), ado::err::TypeMismatch);
}

TEST(Variant, ConvertToKeepsNullAndGivesEmptyTheKindsZero) {
    ScopedRegional es(ado::RegionalSettings::Spanish());
    const std::pair<Variant, Variant> fromEmpty[] = {
        {Variant().ConvertTo(VariantType::I2), int16_t{0}},
        {Variant().ConvertTo(VariantType::String), ""},
        {Variant().ConvertTo(VariantType::Date), ado::Date{0}},
        {Variant().ConvertTo(VariantType::Binary), ado::Binary{}},
        {Variant(Variant::Null).ConvertTo(VariantType::String), Variant::Null},
        {Variant(int32_t{3}).ConvertTo(VariantType::Null), Variant::Null},
        {Variant("2,5").ConvertTo(VariantType::R8), 2.5},
        {Variant("añ").ConvertTo(VariantType::Binary), ado::Binary{0x61, 0xC3, 0xB1}},
        {Variant(ado::Binary{0x61}).ConvertTo(VariantType::String), "a"},
        {Variant(true).ConvertTo(VariantType::Currency), ado::Currency{-10000}},
    };
    for (const auto& [got, expected] : fromEmpty) EXPECT_EQ(got, expected) << expected.ToString();
    EXPECT_EQ(ErrorNumberOf([] { Variant(int32_t{1}).ConvertTo(VariantType::Array); }), ado::err::TypeMismatch);
    EXPECT_EQ(ErrorNumberOf([] { Variant(1.0).ConvertTo(VariantType::Binary); }), ado::err::TypeMismatch);
    EXPECT_EQ(ErrorNumberOf([] { Variant(40000.0).ConvertTo(VariantType::I2); }), ado::err::Overflow);
}

TEST(SafeArray, BoundsPerDimension) {
    const ado::SafeArray a(Bounds{{1, 3}, {-2, 2}});
    EXPECT_EQ(a.Dimensions(), 2);
    EXPECT_EQ(a.Size(), 6u);
    EXPECT_EQ((std::array{a.LBound(1), a.UBound(1), a.LBound(2), a.UBound(2)}), (std::array{1, 3, -2, -1}));
    const std::function<void()> outside[] = {
        [&] { a.LBound(0); },     [&] { a.UBound(3); },     [&] { a.At({0, -2}); },  [&] { a.At({4, -2}); },
        [&] { a.At({1, -3}); },   [&] { a.At({1, 0}); },    [&] { a.At({1}); },      [&] { a.At({1, -2, 0}); },
        [] { ado::SafeArray(Bounds{{0, -1}}); },
    };
    for (const auto& f : outside) EXPECT_EQ(ErrorNumberOf(f), ado::err::SubscriptOutOfRange);
    EXPECT_EQ(ErrorNumberOf([&] { a.At({3, -1}); }), 0);
}

TEST(SafeArray, FirstIndexVariesFastest) {
    ado::SafeArray a(Bounds{{0, 2}, {1, 2}});
    int n = 0;
    for (int j = 1; j <= 2; ++j)
        for (int i = 0; i <= 1; ++i) a.At({i, j}) = int32_t{n++};
    for (int k = 0; k < 4; ++k) EXPECT_EQ(a.Elements()[static_cast<size_t>(k)], Variant(int32_t{k}));
}

TEST(SafeArray, VariantCopiesDoNotShareTheArray) {
    Variant original(ado::SafeArray(Bounds{{0, 1}}));
    Variant copy = original;
    copy.AsArray().At({0}) = "cambiado";
    EXPECT_TRUE(original.AsArray().At({0}).IsEmpty());
    EXPECT_EQ(copy.AsArray().At({0}), Variant("cambiado"));
}

}  // namespace
