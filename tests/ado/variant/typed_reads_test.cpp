// Value().As<T>(): the conversions of the To... members under one name, and optional
// results for Null and Empty.
#include <gtest/gtest.h>

#include <optional>

#include "ado/Error.h"
#include "ado/Variant.h"
#include "support/Checks.h"

using namespace ado;

namespace {

TEST(TypedReads, AsConvertsAsTheNamedConversions) {
    const Variant real(2.5);
    EXPECT_EQ(real.As<int32_t>(), 2) << "half to even, as CLng";
    EXPECT_EQ(Variant(3.5).As<int16_t>(), 4);
    EXPECT_EQ(Variant(int32_t{-1}).As<bool>(), true);
    EXPECT_EQ(Variant("12").As<int64_t>(), 12);
    EXPECT_EQ(Variant(int32_t{7}).As<double>(), 7.0);
    EXPECT_EQ(Variant(int32_t{7}).As<float>(), 7.0f);
    EXPECT_EQ(Variant(int32_t{7}).As<Currency>(), Currency::FromUnits(7));
    EXPECT_EQ(Variant(int32_t{42}).As<std::string>(), "42");
    EXPECT_EQ(Variant(MakeDate(2024, 3, 15)).As<Date>(), MakeDate(2024, 3, 15));
    EXPECT_EQ(Variant(int32_t{3}).As<Decimal>(), Variant(int32_t{3}).ToDecimal());
    EXPECT_EQ(Variant().As<int32_t>(), 0) << "Empty is zero";

    EXPECT_EQ(Variant(Variant::Null).As<std::optional<int32_t>>(), std::nullopt);
    EXPECT_EQ(Variant().As<std::optional<std::string>>(), std::nullopt);
    EXPECT_EQ(Variant(int32_t{5}).As<std::optional<std::string>>(), std::optional<std::string>("5"));

    EXPECT_EQ(testsupport::ErrorNumberOf([] { (void)Variant(Variant::Null).As<int32_t>(); }), 94);
    EXPECT_EQ(testsupport::ErrorNumberOf([] { (void)Variant("doce").As<int32_t>(); }), 13);
    EXPECT_EQ(testsupport::ErrorNumberOf([] { (void)Variant(int32_t{40000}).As<int16_t>(); }), 6);
}

}  // namespace
