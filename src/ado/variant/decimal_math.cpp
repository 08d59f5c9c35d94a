#include "ado/variant/decimal_math.h"

#include <algorithm>

#include "ado/variant/conversion.h"

namespace ado::decimal {
namespace {

constexpr uint64_t kPow10Limb = 10000000000000000000ULL;  // 10^19, the largest power in a limb

bool IsNegative(const Decimal& d) { return d.negative && d.mantissa != 0; }

// q ÷ 10^n in place; true when a nonzero digit was dropped.
bool DropDigits(UInt256& q, int n) {
    bool dropped = false;
    for (; n >= 19; n -= 19) dropped |= q.DivideBy(kPow10Limb) != 0;
    if (n > 0) dropped |= q.DivideBy(static_cast<uint64_t>(kPow10[static_cast<size_t>(n)])) != 0;
    return dropped;
}

UInt256 Scaled(u128 mantissa, int n) { return UInt256::Product(mantissa, kPow10[static_cast<size_t>(n)]); }

int DigitCount(u128 v) {
    int n = 0;
    while (n < 39 && v >= kPow10[static_cast<size_t>(n)]) ++n;
    return n;
}

}  // namespace

u128 DivideRounded(u128 m, int n, bool sticky) {
    if (n == 0) return m;
    const u128 p = kPow10[static_cast<size_t>(n)];
    u128 q = m / p;
    const u128 r = m % p;
    const u128 half = p / 2;
    if (r > half || (r == half && (sticky || (q & 1)))) ++q;
    return q;
}

Decimal FromWide(const UInt256& magnitude, int scale, bool negative, bool sticky) {
    int drop = scale > kMaxScale ? scale - kMaxScale : 0;
    for (;;) {
        if (drop > scale) conv::FailOverflow();
        UInt256 q = magnitude;
        bool rest = sticky;
        uint64_t digit = 0;  // the first digit dropped
        if (drop > 0) {
            rest |= DropDigits(q, drop - 1);
            digit = q.DivideBy(10);
        }
        if (digit > 5 || (digit == 5 && (rest || q.Odd()))) q = q + UInt256(1);
        if (q.Fits128() && q.Low128() < kMantissaLimit) {
            const u128 m = q.Low128();
            return Decimal{m, static_cast<uint8_t>(scale - drop), negative && m != 0};
        }
        // Too many digits: drop at least as many more as the excess bits surely hold (3 per 10).
        drop += std::max(1, (q.BitLength() - 96) * 3 / 10);
    }
}

Decimal Normalize(const Decimal& d) {
    u128 m = d.mantissa;
    int scale = d.scale;
    while (scale > 0 && m % 10 == 0) {
        m /= 10;
        --scale;
    }
    return Decimal{m, static_cast<uint8_t>(scale), d.negative && m != 0};
}

Decimal Negate(const Decimal& d) { return Decimal{d.mantissa, d.scale, !d.negative && d.mantissa != 0}; }

Decimal Add(const Decimal& a, const Decimal& b) {
    const int scale = std::max(a.scale, b.scale);
    const bool negA = IsNegative(a), negB = IsNegative(b);
    if (a.scale == b.scale && negA == negB) {  // the common case needs no wide integers
        const u128 m = a.mantissa + b.mantissa;
        if (m < kMantissaLimit) return Decimal{m, a.scale, negA && m != 0};
    }
    const UInt256 ma = Scaled(a.mantissa, scale - a.scale), mb = Scaled(b.mantissa, scale - b.scale);
    if (negA == negB) return FromWide(ma + mb, scale, negA);
    const int order = Compare(ma, mb);
    if (order == 0) return Decimal{0, static_cast<uint8_t>(scale), false};
    return order > 0 ? FromWide(ma - mb, scale, negA) : FromWide(mb - ma, scale, negB);
}

Decimal Subtract(const Decimal& a, const Decimal& b) { return Add(a, Negate(b)); }

Decimal Multiply(const Decimal& a, const Decimal& b) {
    return FromWide(UInt256::Product(a.mantissa, b.mantissa), a.scale + b.scale, IsNegative(a) != IsNegative(b));
}

Decimal Divide(const Decimal& a, const Decimal& b) {
    if (b.mantissa == 0) conv::FailDivisionByZero();
    const bool negative = IsNegative(a) != IsNegative(b);
    // a ÷ b = (A ÷ B) × 10^(b.scale - a.scale). Long division, up to nine digits at a time
    // (the remainder stays below B < 2^96, so remainder × 10^9 fits 128 bits); q holds the
    // quotient at `scale`.
    const u128 divisor = b.mantissa;
    UInt256 q(a.mantissa / divisor);
    u128 rest = a.mantissa % divisor;
    int scale = a.scale - b.scale;
    auto moreDigits = [&](int n) {
        const u128 x = rest * kPow10[static_cast<size_t>(n)];
        q.MultiplyBy(static_cast<uint64_t>(kPow10[static_cast<size_t>(n)]));
        q = q + UInt256(x / divisor);
        rest = x % divisor;
        scale += n;
    };
    auto fits = [&] { return q.Fits128() && q.Low128() < kMantissaLimit; };
    while (scale < 0) {  // digits of the whole part
        if (!fits()) conv::FailOverflow();
        moreDigits(std::min(9, -scale));
    }
    // Then decimals while the quotient is inexact, up to one beyond the last kept for rounding.
    while (rest != 0 && scale <= kMaxScale && fits()) moreDigits(std::min(9, kMaxScale + 1 - scale));
    return Normalize(FromWide(q, scale, negative, rest != 0));
}

Decimal RoundToScale(const Decimal& d, int scale) {
    if (d.scale <= scale) return d;
    const u128 m = DivideRounded(d.mantissa, d.scale - scale);
    return Decimal{m, static_cast<uint8_t>(scale), d.negative && m != 0};
}

bool FitsPrecision(const Decimal& d, int precision, int scale) {
    return d.scale <= scale && DigitCount(d.mantissa / kPow10[d.scale]) <= precision - scale;
}

}  // namespace ado::decimal
