// Fuzz target: the Decimal key decoder on any bytes. A key decodes to a valid Decimal of the
// smallest scale that encodes back to the same bytes, or fails with type mismatch (13) and
// nothing else. Inputs of two keys' length also check the keys' order against the values'
// and run the arithmetic on the pair: results are valid Decimals or overflow (6) or
// division by zero (11).
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <span>

#include "ado/Error.h"
#include "ado/ErrorNumbers.h"
#include "ado/providers/sqlite/dialect/decimal_key.h"
#include "ado/variant/conversion.h"
#include "ado/variant/decimal_math.h"

namespace {

using ado::Decimal;
namespace key = ado::sqlite;

[[noreturn]] void Fail(const char* what) {
    std::fprintf(stderr, "decimal key: %s\n", what);
    std::abort();
}

bool Valid(const Decimal& d) {
    return d.mantissa < ado::decimal::kMantissaLimit && d.scale <= ado::decimal::kMaxScale &&
           !(d.negative && d.mantissa == 0);
}

// The decoded value, or nothing when the bytes are no key.
bool Decode(std::span<const uint8_t> bytes, Decimal& out) {
    try {
        out = key::DecodeDecimalKey(bytes);
    } catch (const ado::Error& e) {
        if (e.Number() != ado::err::TypeMismatch) Fail("a failure other than type mismatch");
        return false;
    }
    if (!Valid(out) || !(ado::decimal::Normalize(out) == out)) Fail("not a Decimal of the smallest scale");
    const key::DecimalKey again = key::EncodeDecimalKey(out);
    if (std::memcmp(again.data(), bytes.data(), again.size()) != 0) Fail("does not encode back to its bytes");
    return true;
}

template <class F>
void Arithmetic(F op) {
    try {
        const Decimal r = op();
        if (!Valid(r)) Fail("arithmetic gave no valid Decimal");
        Decimal back;
        if (!Decode(key::EncodeDecimalKey(r), back) || ado::conv::CompareDecimal(back, r) != 0)
            Fail("a result does not round trip");
    } catch (const ado::Error& e) {
        if (e.Number() != ado::err::Overflow && e.Number() != ado::err::DivisionByZero) Fail("arithmetic failure");
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::span<const uint8_t> bytes(data, size);
    Decimal a, b;
    if (size != 2 * key::kDecimalKeySize) {
        Decode(bytes, a);
        return 0;
    }
    const auto first = bytes.first(key::kDecimalKeySize), second = bytes.last(key::kDecimalKeySize);
    if (!Decode(first, a) || !Decode(second, b)) return 0;
    const int bytewise = std::memcmp(first.data(), second.data(), key::kDecimalKeySize);
    if ((bytewise > 0) - (bytewise < 0) != ado::conv::CompareDecimal(a, b)) Fail("byte order is not value order");
    Arithmetic([&] { return ado::decimal::Add(a, b); });
    Arithmetic([&] { return ado::decimal::Subtract(a, b); });
    Arithmetic([&] { return ado::decimal::Multiply(a, b); });
    Arithmetic([&] { return ado::decimal::Divide(a, b); });
    Arithmetic([&] { return ado::decimal::RoundToScale(a, b.scale); });
    return 0;
}
