// A Decimal written as its digits, scale and sign, for tests that need exact mantissas
// (28 digits) that no text conversion should stand between.
#pragma once

#include <cstdint>

#include "ado/Variant.h"

namespace testsupport {

inline ado::Variant Dec(const char* digits, uint8_t scale, bool negative = false) {
    ado::Decimal d;
    for (const char* p = digits; *p; ++p) d.mantissa = d.mantissa * 10 + static_cast<unsigned>(*p - '0');
    d.scale = scale;
    d.negative = negative;
    return ado::Variant(d);
}

}  // namespace testsupport
