// Helpers shared by the Variant tests: a conversion's value or error, regional settings for one
// scope, and currency and decimal values written shortly.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "ado/Variant.h"
#include "support/Checks.h"

namespace varianttest {

using testsupport::ScopedRegional;
using testsupport::ErrorNumberOf;

// Expects `convert` to give `expected`, or to raise `error` when that is not 0.
template <class T, class F>
void ExpectConversion(const std::string& what, F convert, const T& expected, int error) {
    T got{};
    EXPECT_EQ(ErrorNumberOf([&] { got = convert(); }), error) << what;
    if (!error) {
        EXPECT_EQ(got, expected) << what;
    }
}

inline ado::Variant Cur(int64_t scaled) { return ado::Variant(ado::Currency{scaled}); }
inline ado::Variant Dec(const char* text) {
    ScopedRegional us(ado::RegionalSettings::UnitedStates());
    return ado::Variant(ado::Variant(text).ToDecimal());
}

}  // namespace varianttest
