// Helpers shared by the Variant tests: the error number a call raises, regional settings for
// one scope, and currency and decimal values written shortly.
#pragma once

#include "ado/Variant.h"
#include "support/Checks.h"

namespace varianttest {

using testsupport::ScopedRegional;
using testsupport::ErrorNumberOf;

inline ado::Variant Cur(int64_t scaled) { return ado::Variant(ado::Currency{scaled}); }
inline ado::Variant Dec(const char* text) {
    ScopedRegional us(ado::RegionalSettings::UnitedStates());
    return ado::Variant(ado::Variant(text).ToDecimal());
}

}  // namespace varianttest
