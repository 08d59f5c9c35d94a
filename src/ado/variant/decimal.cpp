// Decimal: a 96-bit magnitude scaled by a power of ten (0..28). Parsing from digits,
// text form, conversions to and from double, int64 and Currency, comparison.
#include <array>
#include <charconv>
#include <cmath>
#include <cstring>

#include "ado/variant/conversion.h"
#include "ado/variant/decimal_math.h"

namespace ado::conv {
namespace {

using u128 = unsigned __int128;
using decimal::DivideRounded;
using decimal::kPow10;

constexpr u128 kLimit = decimal::kMantissaLimit;  // magnitudes stay below 2^96
constexpr int kMaxScale = decimal::kMaxScale;
constexpr int kMaxIntegerDigits = 29;   // 2^96 has 29 digits

u128 DigitsValue(const char* digits, int count) {
    u128 m = 0;
    for (int i = 0; i < count; ++i) m = m * 10 + static_cast<unsigned>(digits[i] - '0');
    return m;
}

// Writes the magnitude's digits backwards into the end of buf; returns the first digit.
char* MagnitudeDigits(u128 m, char* end) {
    do {
        *--end = static_cast<char>('0' + static_cast<int>(m % 10));
        m /= 10;
    } while (m != 0);
    return end;
}

}  // namespace

Decimal DecimalFromDigits(const char* digits, int count, int64_t exponent, bool negative, bool inexact) {
    if (count == 0) return Decimal{};
    if (exponent >= 0) {
        if (count + exponent > kMaxIntegerDigits) FailOverflow();
        const u128 m = DigitsValue(digits, count) * kPow10[static_cast<size_t>(exponent)];
        if (m >= kLimit) FailOverflow();
        return Decimal{m, 0, negative};
    }
    // Keep as many digits as the scale and the 96 bits allow, rounding the rest away.
    const int64_t scale = -exponent;
    int64_t drop = scale > kMaxScale ? scale - kMaxScale : 0;
    if (count - drop > kMaxIntegerDigits) drop = count - kMaxIntegerDigits;
    for (;; ++drop) {
        if (scale - drop < 0) FailOverflow();
        const int64_t keep = count - drop;
        u128 m = keep > 0 ? DigitsValue(digits, static_cast<int>(keep)) : 0;
        if (drop > 0 && keep >= 0) {
            const char first = digits[keep];  // the first dropped digit; keep < count here
            bool rest = inexact;
            for (int64_t i = keep + 1; i < count && !rest; ++i) rest = digits[i] != '0';
            if (first > '5' || (first == '5' && (rest || (m & 1)))) ++m;
        }
        if (m < kLimit) return Decimal{m, static_cast<uint8_t>(scale - drop), negative && m != 0};
    }
}

Decimal DecimalFromInteger(int64_t v) {
    const uint64_t mag = v < 0 ? 0 - static_cast<uint64_t>(v) : static_cast<uint64_t>(v);
    return Decimal{mag, 0, v < 0};
}

Decimal DecimalFromCurrency(Currency c) {
    const uint64_t mag = c.scaled < 0 ? 0 - static_cast<uint64_t>(c.scaled) : static_cast<uint64_t>(c.scaled);
    return decimal::Normalize(Decimal{mag, 4, c.scaled < 0});
}

Decimal DecimalFromDouble(double x, int significantDigits) {
    if (!std::isfinite(x)) FailOverflow();
    if (x == 0) return Decimal{};
    char digits[24];
    int exp10 = 0;
    const int count = RoundedDigits(std::fabs(x), significantDigits, digits, exp10);
    const Decimal d = DecimalFromDigits(digits, count, exp10 - (count - 1), x < 0, false);
    return decimal::Normalize(d);
}

double DecimalToDouble(const Decimal& d) {
    static constexpr double kExact[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,  1e8,  1e9,  1e10, 1e11,
                                        1e12, 1e13, 1e14, 1e15, 1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};
    double x;
    if (d.mantissa < (u128{1} << 53) && d.scale <= 22) {
        x = static_cast<double>(static_cast<uint64_t>(d.mantissa)) / kExact[d.scale];  // one rounding
    } else {
        char buf[48];
        char* first = MagnitudeDigits(d.mantissa, buf + 40);
        char* last = buf + 40;
        *last++ = 'e';
        *last++ = '-';
        last = std::to_chars(last, buf + sizeof buf, static_cast<int>(d.scale)).ptr;
        std::from_chars(first, last, x);
    }
    return d.negative ? -x : x;
}

int64_t DecimalToInteger(const Decimal& d) {
    const u128 q = DivideRounded(d.mantissa, d.scale);
    if (d.negative) {
        if (q > u128{1} << 63) FailOverflow();
        return static_cast<int64_t>(0 - static_cast<uint64_t>(q));
    }
    if (q > INT64_MAX) FailOverflow();
    return static_cast<int64_t>(q);
}

Currency DecimalToCurrency(const Decimal& d) {
    const u128 q = d.scale <= 4 ? d.mantissa * kPow10[4 - d.scale] : DivideRounded(d.mantissa, d.scale - 4);
    if (d.negative) {
        if (q > u128{1} << 63) FailOverflow();
        return Currency{static_cast<int64_t>(0 - static_cast<uint64_t>(q))};
    }
    if (q > INT64_MAX) FailOverflow();
    return Currency{static_cast<int64_t>(q)};
}

int CompareDecimal(const Decimal& a, const Decimal& b) {
    const bool negA = a.negative && a.mantissa != 0;
    const bool negB = b.negative && b.mantissa != 0;
    if (negA != negB) return negA ? -1 : 1;
    // Whole parts first, then the fractions brought to the same scale (both below 10^28).
    const u128 pa = kPow10[a.scale], pb = kPow10[b.scale];
    int mag;
    const u128 wa = a.mantissa / pa, wb = b.mantissa / pb;
    if (wa != wb) {
        mag = wa < wb ? -1 : 1;
    } else {
        const int scale = a.scale > b.scale ? a.scale : b.scale;
        const u128 fa = (a.mantissa % pa) * kPow10[static_cast<size_t>(scale - a.scale)];
        const u128 fb = (b.mantissa % pb) * kPow10[static_cast<size_t>(scale - b.scale)];
        mag = fa == fb ? 0 : (fa < fb ? -1 : 1);
    }
    return negA ? -mag : mag;
}

void AppendDecimal(std::string& out, const Decimal& d, std::string_view decimalSeparator) {
    char buf[48];
    char* const end = buf + sizeof buf;
    char* first = MagnitudeDigits(d.mantissa, end);
    int scale = d.scale;
    // Trailing zeros of the fraction are not written.
    char* last = end;
    while (scale > 0 && last[-1] == '0' && last - first > 1) {
        --last;
        --scale;
    }
    if (d.mantissa == 0) scale = 0;
    while (last - first <= scale) *--first = '0';  // at least one digit before the separator
    if (d.negative && d.mantissa != 0) out += '-';
    out.append(first, static_cast<size_t>(last - first - scale));
    if (scale > 0) {
        out += decimalSeparator;
        out.append(last - scale, static_cast<size_t>(scale));
    }
}

}  // namespace ado::conv
