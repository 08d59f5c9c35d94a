// The Decimal key: how the embedded engine keeps a Decimal. The value × 10^28 as a 192-bit
// two's-complement integer, big-endian, with its top bit flipped: 24 bytes whose bytewise
// order (the engine's order of BLOBs, memcmp) is the numeric order, and one encoding per
// value (1.5 and 1.50 encode alike), so that =, <, MIN, MAX, DISTINCT and unique keys work
// on the stored bytes. Column affinity never converts a BLOB.
#pragma once

#include <array>
#include <cstdint>
#include <span>

#include "ado/Variant.h"
#include "ado/variant/wide_integer.h"

namespace ado::sqlite {

inline constexpr size_t kDecimalKeySize = 24;
using DecimalKey = std::array<uint8_t, kDecimalKeySize>;

// A Decimal whose mantissa or scale is out of its range fails with ado::Error 6.
DecimalKey EncodeDecimalKey(const Decimal& d);

// The value, with the smallest scale that holds it exactly. Bytes of another size, or a
// value that no Decimal holds (more than 96 bits of mantissa at every scale), fail with
// ado::Error 13 (type mismatch).
Decimal DecodeDecimalKey(std::span<const uint8_t> bytes);

// The key's value × 10^28 as a 256-bit two's-complement integer (sign-extended), checked as
// DecodeDecimalKey checks: sums of keys are exact in it.
UInt256 DecimalKeyScaledValue(std::span<const uint8_t> bytes);

}  // namespace ado::sqlite
