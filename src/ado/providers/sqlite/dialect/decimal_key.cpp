#include "ado/providers/sqlite/dialect/decimal_key.h"

#include "ado/variant/conversion.h"
#include "ado/variant/decimal_math.h"

namespace ado::sqlite {
namespace {

using decimal::kMantissaLimit;
using decimal::kMaxScale;
using decimal::kPow10;

struct Reading {
    UInt256 scaled;     // value × 10^28, two's complement
    Decimal value;
};

Reading Read(std::span<const uint8_t> bytes) {
    if (bytes.size() != kDecimalKeySize) conv::FailTypeMismatch();
    UInt256 scaled;
    for (int limb = 0; limb < 3; ++limb) {
        uint64_t v = 0;
        for (size_t i = 0; i < 8; ++i) v = (v << 8) | bytes[static_cast<size_t>(16 - 8 * limb) + i];
        scaled.SetLimb(limb, v);
    }
    scaled.SetLimb(2, scaled.Limb(2) ^ (uint64_t{1} << 63));
    const bool negative = scaled.Limb(2) >> 63;
    if (negative) scaled.SetLimb(3, ~uint64_t{0});
    // The smallest scale: strip trailing zeros, 16, 8, 4, 2 and 1 at a time (28 at most).
    UInt256 m = negative ? -scaled : scaled;
    int zeros = 0;
    for (int step : {16, 8, 4, 2, 1}) {
        if (zeros + step > kMaxScale) continue;
        UInt256 q = m;
        if (q.DivideBy(static_cast<uint64_t>(kPow10[static_cast<size_t>(step)])) != 0) continue;
        m = q;
        zeros += step;
    }
    if (!m.Fits128() || m.Low128() >= kMantissaLimit) conv::FailTypeMismatch();
    const auto mantissa = m.Low128();
    return {scaled, Decimal{mantissa, static_cast<uint8_t>(kMaxScale - zeros), negative && mantissa != 0}};
}

}  // namespace

DecimalKey EncodeDecimalKey(const Decimal& d) {
    if (d.mantissa >= kMantissaLimit || d.scale > kMaxScale) conv::FailOverflow();
    UInt256 v = UInt256::Product(d.mantissa, kPow10[static_cast<size_t>(kMaxScale - d.scale)]);
    if (d.negative) v = -v;
    DecimalKey key;
    for (int limb = 0; limb < 3; ++limb) {
        uint64_t x = v.Limb(limb);
        for (int i = 7; i >= 0; --i, x >>= 8) key[static_cast<size_t>(16 - 8 * limb + i)] = static_cast<uint8_t>(x);
    }
    key[0] ^= 0x80;
    return key;
}

Decimal DecodeDecimalKey(std::span<const uint8_t> bytes) { return Read(bytes).value; }

UInt256 DecimalKeyScaledValue(std::span<const uint8_t> bytes) { return Read(bytes).scaled; }

}  // namespace ado::sqlite
