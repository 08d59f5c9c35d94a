#include "ado/providers/sqlite/dialect/value_conversions.h"

#include <cstdint>
#include <cstdio>
#include <limits>

namespace ado::sqlite::detail {

namespace {

Wrapping Call(std::string_view function) { return {std::string(function) + "(", ")"}; }

// CStr of a value held as `from`.
Wrapping TextOf(DataTypeEnum from) {
    switch (from) {
        case adCurrency: case adNumeric: case adDecimal: case adDate: case adSingle: case adDouble: case adBoolean:
        case adVariant:
            return {"BZ_TEXT(", ", " + std::to_string(static_cast<int>(from == adDecimal ? adNumeric : from)) + ")"};
        default: return {};
    }
}

// A plain number from Currency or Decimal.
Wrapping PlainOf(DataTypeEnum from) {
    if (from == adCurrency) return {"(", " / 10000.0)"};
    if (IsDecimalType(from)) return Call("BZ_DEC_TO_REAL");
    return {};
}

Wrapping Compose(Wrapping outer, const Wrapping& inner) {
    return {outer.before + inner.before, inner.after + outer.after};
}

// The Access conversion function that stores into an integer, Boolean or real column.
const char* StoringFunction(DataTypeEnum column) {
    switch (column) {
        case adBoolean: return "CBOOL";
        case adUnsignedTinyInt: case adTinyInt: return "CBYTE";
        case adSmallInt: return "CINT";
        case adInteger: return "CLNG";
        case adSingle: return "CSNG";
        case adDouble: return "CDBL";
        default: return nullptr;
    }
}

}  // namespace

Wrapping UseAs(DataTypeEnum from, DataTypeEnum want) {
    if (want == adVariant || want == kWantTruth || from == adEmpty || from == want) return {};
    if (IsDecimalType(from) && IsDecimalType(want)) return {};
    if (want == adCurrency) {
        if (IsIntegerType(from)) return {"(", " * 10000)"};
        if (IsDecimalType(from)) return Call("BZ_CUR_FROM_DEC");
        return Call("BZ_CUR");
    }
    if (IsDecimalType(want)) return from == adCurrency ? Call("BZ_DEC_FROM_CUR") : Call("BZ_DEC");
    // A value of no known type becomes text by its own kind (a real in the regional form).
    if (IsTextType(want)) return IsTextType(from) ? Wrapping{} : TextOf(from);
    if (from == adVariant) return {};
    if (want == kWantTyped) return from == adDate ? Call("BZ_ISO") : PlainOf(from);
    if (want == adDate) return IsTextType(from) ? Call("CDATE") : PlainOf(from);
    return PlainOf(from);
}

Wrapping StoreAs(DataTypeEnum from, const ValueType& column) {
    const DataTypeEnum to = column.type;
    if (to == adVariant || from == adEmpty) return {};
    // A parameter takes the column's type: its value is put in the stored form all the same.
    if (to == adGUID) return Call("BZ_GUID");
    if (IsDecimalType(to)) {
        const Wrapping fit{"BZ_DEC_FIT(", ", " + std::to_string(column.precision ? column.precision : 18) + ", " +
                                              std::to_string(column.scale) + ")"};
        return Compose(fit, UseAs(from, adNumeric));
    }
    if (from == to) return {};
    if (to == adCurrency || IsTextType(to)) return UseAs(from, to);
    if (to == adDate) return IsTextType(from) || from == adVariant ? Call("CDATE") : PlainOf(from);
    if (const char* f = StoringFunction(to)) {
        // Integers go as they are: the column's check refuses what does not fit.
        if (IsIntegerType(from) && to != adBoolean) return {};
        // A Single is stored through CSng: rounded to its precision, refused beyond its range.
        if (to == adDouble && (IsNumberType(from) || from == adDate)) return PlainOf(from);
        return Compose(Call(f), PlainOf(from));
    }
    return PlainOf(from);
}

std::optional<std::string> NumberLiteralAs(const std::string& literal, DataTypeEnum want) {
    if (want != adCurrency) return std::nullopt;
    // Digits with at most four decimals: the same digits, scaled by 10 000.
    const size_t point = literal.find('.');
    const std::string whole = literal.substr(0, point);
    std::string fraction = point == std::string::npos ? "" : literal.substr(point + 1);
    if (whole.find_first_not_of("0123456789") != std::string::npos ||
        fraction.find_first_not_of("0123456789") != std::string::npos || fraction.size() > 4 ||
        (whole.empty() && fraction.empty()))
        return std::nullopt;
    fraction.resize(4, '0');
    std::string digits = whole + fraction;
    const size_t first = digits.find_first_not_of('0');
    digits = first == std::string::npos ? "0" : digits.substr(first);
    // The largest Currency is 922337203685477.5807: 19 digits of ten-thousandths.
    if (digits.size() > 19 || (digits.size() == 19 && digits > "9223372036854775807")) return std::nullopt;
    return digits;
}

std::string SerialLiteral(double serial) {
    char buffer[40];
    std::snprintf(buffer, sizeof buffer, "%.17g", serial);
    std::string text(buffer);
    if (text.find_first_of(".e") == std::string::npos) text += ".0";
    return text;
}

}  // namespace ado::sqlite::detail
