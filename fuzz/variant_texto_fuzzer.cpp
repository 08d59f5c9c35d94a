// Fuzz target: texts converted to numbers, dates and booleans under the invariant and the
// Spanish regional settings. A conversion gives a value of its type or fails with an
// ado::Error, never another exception; exact types (Currency, Decimal, the integers) give
// back the same value from the text they show; a date is a valid date serial.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "ado/Error.h"
#include "ado/Regional.h"
#include "ado/Variant.h"
#include "ado/variant/conversion.h"

namespace {

[[noreturn]] void Fail(const char* what, const std::string& text) {
    std::fprintf(stderr, "variant text: %s: [%s]\n", what, text.c_str());
    std::abort();
}

constexpr ado::VariantType kTypes[] = {
    ado::VariantType::Bool, ado::VariantType::I2,       ado::VariantType::I4,      ado::VariantType::I8,
    ado::VariantType::R4,   ado::VariantType::R8,       ado::VariantType::Currency, ado::VariantType::Decimal,
    ado::VariantType::Date,
};

bool Exact(ado::VariantType t) {
    return t == ado::VariantType::I2 || t == ado::VariantType::I4 || t == ado::VariantType::I8 ||
           t == ado::VariantType::Currency || t == ado::VariantType::Decimal;
}

void Convert(const std::string& text) {
    const ado::Variant value(text);
    for (const ado::VariantType type : kTypes) {
        ado::Variant converted;
        try {
            converted = value.ConvertTo(type);
        } catch (const ado::Error&) {
            continue;
        } catch (...) {
            Fail("a failure that is no ado::Error", text);
        }
        if (converted.Type() != type) Fail("a value of another type", text);
        if (type == ado::VariantType::Date) {
            const double serial = converted.AsDate().serial;
            if (!(serial > ado::conv::kMinDateSerial && serial < ado::conv::kMaxDateSerial)) Fail("no date serial", text);
        }
        if (!Exact(type)) continue;
        try {
            if (ado::Compare(ado::Variant(converted.ToString()).ConvertTo(type), converted, true) != 0)
                Fail("the shown text does not read back", text);
        } catch (const ado::Error&) {
            Fail("the shown text does not convert", text);
        }
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    static const ado::RegionalSettings settings[] = {ado::RegionalSettings(), ado::RegionalSettings::Spanish()};
    for (const ado::RegionalSettings& rs : settings) {
        ado::RegionalSettings::SetCurrent(rs);
        Convert(text);
    }
    return 0;
}
