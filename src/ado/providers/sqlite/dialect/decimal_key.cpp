#include "ado/providers/sqlite/dialect/decimal_key.h"

#include <cstring>

#include "ado/variant/conversion.h"
#include "ado/variant/decimal_math.h"

namespace ado::sqlite {
namespace {

using decimal::kMantissaLimit;
using decimal::kMaxScale;
using decimal::kPow10;
using u128 = unsigned __int128;

constexpr uint64_t kPow10Limb = 10000000000000000000ULL;  // 10^19

// (2^96 - 1) ÷ 10^scale: the largest whole part of a Decimal of that scale.
constexpr std::array<u128, kMaxScale + 1> kLargestWhole = [] {
    std::array<u128, kMaxScale + 1> w{};
    for (size_t s = 0; s < w.size(); ++s) w[s] = (kMantissaLimit - 1) / kPow10[s];
    return w;
}();

int TrailingZeros(uint64_t v) {  // v > 0
    int n = 0;
    for (; v % 10 == 0; v /= 10) ++n;
    return n;
}

struct Reading {
    UInt256 scaled;     // value × 10^28, two's complement
    Decimal value;
};

Reading Read(std::span<const uint8_t> bytes) {
    if (bytes.size() != kDecimalKeySize) conv::FailTypeMismatch();
    UInt256 scaled;
    for (int limb = 0; limb < 3; ++limb) {
        uint64_t bigEndian;
        std::memcpy(&bigEndian, bytes.data() + 16 - 8 * limb, sizeof bigEndian);
        scaled.SetLimb(limb, __builtin_bswap64(bigEndian));
    }
    scaled.SetLimb(2, scaled.Limb(2) ^ (uint64_t{1} << 63));
    const bool negative = scaled.Limb(2) >> 63;
    if (negative) scaled.SetLimb(3, ~uint64_t{0});
    // |value| × 10^28 = whole × 10^28 + high × 10^19 + low: the fraction's trailing zeros
    // give the smallest scale.
    UInt256 whole = negative ? -scaled : scaled;
    const uint64_t low = whole.DivideBy(kPow10Limb);
    const uint64_t high = whole.DivideBy(static_cast<uint64_t>(kPow10[kMaxScale - 19]));
    const int zeros = low != 0 ? TrailingZeros(low) : high != 0 ? 19 + TrailingZeros(high) : kMaxScale;
    const int scale = kMaxScale - zeros;
    if (!whole.Fits128() || whole.Low128() > kLargestWhole[static_cast<size_t>(scale)]) conv::FailTypeMismatch();
    const u128 fraction = zeros >= 19 ? high / static_cast<uint64_t>(kPow10[static_cast<size_t>(zeros - 19)])
                                      : u128{high} * kPow10[static_cast<size_t>(19 - zeros)] +
                                            low / static_cast<uint64_t>(kPow10[static_cast<size_t>(zeros)]);
    const u128 mantissa = whole.Low128() * kPow10[static_cast<size_t>(scale)] + fraction;
    if (mantissa >= kMantissaLimit) conv::FailTypeMismatch();
    return {scaled, Decimal{mantissa, static_cast<uint8_t>(scale), negative && mantissa != 0}};
}

}  // namespace

DecimalKey EncodeDecimalKey(const Decimal& d) {
    if (d.mantissa >= kMantissaLimit || d.scale > kMaxScale) conv::FailOverflow();
    UInt256 v = UInt256::Product(d.mantissa, kPow10[static_cast<size_t>(kMaxScale - d.scale)]);
    if (d.negative) v = -v;
    DecimalKey key;
    for (int limb = 0; limb < 3; ++limb) {
        const uint64_t bigEndian = __builtin_bswap64(v.Limb(limb));
        std::memcpy(key.data() + 16 - 8 * limb, &bigEndian, sizeof bigEndian);
    }
    key[0] ^= 0x80;
    return key;
}

Decimal DecodeDecimalKey(std::span<const uint8_t> bytes) { return Read(bytes).value; }

UInt256 DecimalKeyScaledValue(std::span<const uint8_t> bytes) { return Read(bytes).scaled; }

}  // namespace ado::sqlite
