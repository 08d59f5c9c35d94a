// Decimal arithmetic with the automation DECIMAL rules: a result keeps every digit that fits
// 96 bits and a scale of at most 28 (28 or 29 significant digits), the rest rounded half to
// even; a result whose whole part does not fit fails with ado::Error 6 (overflow), a
// division by zero with 11. Sums keep the larger scale of their operands and products the
// sum of the scales (1.50 + 1 is 2.50); quotients the smallest scale that holds them.
#pragma once

#include <array>
#include <cstdint>

#include "ado/Variant.h"
#include "ado/variant/wide_integer.h"

namespace ado::decimal {

using u128 = unsigned __int128;

inline constexpr int kMaxScale = 28;
inline constexpr u128 kMantissaLimit = u128{1} << 96;  // mantissas stay below

inline constexpr std::array<u128, 39> kPow10 = [] {
    std::array<u128, 39> p{};
    p[0] = 1;
    for (size_t i = 1; i < p.size(); ++i) p[i] = p[i - 1] * 10;
    return p;
}();

Decimal Add(const Decimal& a, const Decimal& b);
Decimal Subtract(const Decimal& a, const Decimal& b);
Decimal Multiply(const Decimal& a, const Decimal& b);
Decimal Divide(const Decimal& a, const Decimal& b);
Decimal Negate(const Decimal& d);

// d with at most `scale` decimals (0..28), rounded half to even.
Decimal RoundToScale(const Decimal& d, int scale);
// Whether d fits DECIMAL(precision, scale): no more than `scale` decimals and no more than
// precision - scale digits before the decimal separator.
bool FitsPrecision(const Decimal& d, int precision, int scale);
// The same value with the smallest scale (no trailing zeros in the fraction).
Decimal Normalize(const Decimal& d);

// magnitude ÷ 10^scale (scale ≥ 0, any size) as a Decimal, rounded half to even; `sticky`
// says that nonzero digits were already cut below the magnitude's last one (then the scale
// is above 28 or the magnitude at least 2^96, so that a digit is dropped here). Fails with
// 6 when the whole part does not fit.
Decimal FromWide(const UInt256& magnitude, int scale, bool negative, bool sticky = false);

// m ÷ 10^n (n ≤ 38) rounded half to even; `sticky` as in FromWide.
u128 DivideRounded(u128 m, int n, bool sticky = false);

}  // namespace ado::decimal
