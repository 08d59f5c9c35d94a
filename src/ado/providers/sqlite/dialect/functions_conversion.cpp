// Conversion and test functions: CStr, CLng, CInt, CDbl, CSng, CCur, CDate, CBool, Val,
// Nz, IIf, IsNull, IsNumeric, IsDate. The C... conversions follow ado::Variant's
// rules (rounding half to even, overflow 6, type mismatch 13, Null 94).
#include <cmath>
#include <charconv>

#include "ado/Enums.h"
#include "ado/Error.h"
#include "ado/ErrorNumbers.h"
#include "ado/providers/sqlite/dialect/dialect_errors.h"
#include "ado/providers/sqlite/dialect/function_call.h"
#include "ado/text/guid_text.h"

namespace ado::sqlite::detail {
namespace {

Variant NotNull(Call& c) {
    if (c.IsNull(0)) ThrowRuntimeError(err::InvalidUseOfNull);
    return c.Value(0);
}

void CStr(Call& c) { c.ReturnText(NotNull(c).ToString()); }
void CLng(Call& c) { c.Return(int64_t{NotNull(c).ToInt32()}); }
void CInt(Call& c) { c.Return(int64_t{NotNull(c).ToInt16()}); }
void CDbl(Call& c) {
    const double d = NotNull(c).ToDouble();
    if (!std::isfinite(d)) ThrowRuntimeError(err::Overflow);  // a computation beyond Double's range
    c.Return(d);
}
void CSng(Call& c) { c.Return(static_cast<double>(NotNull(c).ToSingle())); }
void CCur(Call& c) { c.Return(Variant(NotNull(c).ToCurrency())); }
void CDate(Call& c) { c.ReturnDate(NotNull(c).ToDate()); }
void CBool(Call& c) { c.ReturnBool(NotNull(c).ToBool()); }

// A value stored in a GUID column: a GUID's text in the stored form; anything else is a type
// mismatch.
void StoredGuid(Call& c) {
    if (c.IsNull(0)) return c.ReturnNull();
    const auto guid = c.IsText(0) ? text::CanonicalGuid(c.Text(0)) : std::nullopt;
    if (!guid) ThrowRuntimeError(err::TypeMismatch);
    c.ReturnText(*guid);
}

// The number at the start of a text: blanks, tabs and line feeds are skipped anywhere,
// '.' is the decimal point whatever the regional settings, &H and &O read hexadecimal
// and octal integers, D is an exponent like E. Reading stops at the first other character.
double ValOf(std::string_view text) {
    std::string s;
    for (char ch : text)
        if (ch != ' ' && ch != '\t' && ch != '\n' && ch != '\r') s += ch;
    if (s.size() > 2 && s[0] == '&' && (s[1] == 'H' || s[1] == 'h' || s[1] == 'O' || s[1] == 'o')) {
        const int base = (s[1] == 'H' || s[1] == 'h') ? 16 : 8;
        uint32_t v = 0;
        const auto r = std::from_chars(s.data() + 2, s.data() + s.size(), v, base);
        const size_t digits = static_cast<size_t>(r.ptr - (s.data() + 2));
        // Up to an Integer's width it is an Integer, up to a Long's a Long, as VBA types it.
        const bool narrow = base == 16 ? digits <= 4 : v <= 0xFFFF;
        return narrow ? static_cast<double>(static_cast<int16_t>(v)) : static_cast<double>(static_cast<int32_t>(v));
    }
    size_t i = 0;
    std::string number;
    if (i < s.size() && (s[i] == '+' || s[i] == '-')) number += s[i++];
    bool point = false;
    for (; i < s.size(); ++i) {
        if (s[i] >= '0' && s[i] <= '9') {
            number += s[i];
        } else if (s[i] == '.' && !point) {
            point = true;
            number += '.';
        } else {
            break;
        }
    }
    if (i + 1 < s.size() && (s[i] == 'E' || s[i] == 'e' || s[i] == 'D' || s[i] == 'd')) {
        std::string exponent = "e";
        size_t j = i + 1;
        if (s[j] == '+' || s[j] == '-') exponent += s[j++];
        const size_t digitsFrom = j;
        while (j < s.size() && s[j] >= '0' && s[j] <= '9') exponent += s[j++];
        if (j > digitsFrom) number += exponent;
    }
    if (!number.empty() && number[0] == '+') number.erase(0, 1);
    double v = 0;
    std::from_chars(number.data(), number.data() + number.size(), v);
    return v;
}

void Val(Call& c) {
    if (c.IsNull(0)) ThrowRuntimeError(err::InvalidUseOfNull);
    c.Return(ValOf(c.Text(0)));
}

// Nz(v [, alternative]): in a query Nz(Null) is the empty text.
void Nz(Call& c) {
    if (!c.IsNull(0)) return c.ReturnArgument(0);
    if (c.Count() > 1) return c.ReturnArgument(1);
    c.ReturnText("");
}

bool IsTrue(Call& c, int i) {
    if (c.IsNull(i)) return false;
    return c.Value(i).ToBool();
}

void IIf(Call& c) { c.ReturnArgument(IsTrue(c, 0) ? 1 : 2); }
void IsNullF(Call& c) { c.ReturnBool(c.IsNull(0)); }

// Whether a conversion succeeds, without its failure.
template <typename F>
bool Converts(F convert) {
    try {
        convert();
        return true;
    } catch (const Error&) {
        return false;
    }
}

void IsNumeric(Call& c) {
    if (c.IsNull(0)) return c.ReturnBool(false);
    const Variant v = c.Value(0);
    c.ReturnBool(v.Type() != VariantType::Date && Converts([&] { (void)v.ToDouble(); }));
}

void IsDate(Call& c) {
    if (c.IsNull(0)) return c.ReturnBool(false);
    const Variant v = c.Value(0);
    c.ReturnBool(v.Type() == VariantType::Date || (v.IsText() && Converts([&] { (void)v.ToDate(); })));
}

// A value of a query is never Empty (an unset Variant); Null is not Empty either.
void IsEmptyF(Call& c) { c.ReturnBool(false); }

// VarType and TypeName of a value whose column or expression has the ADO type `type` (the
// translator adds it as a second argument); a value of no known type by how it is stored.
struct VbaType {
    int code;
    const char* name;
};

VbaType VbaTypeOf(const Call& c) {
    if (c.IsNull(0)) return {1, "Null"};
    switch (static_cast<DataTypeEnum>(c.Integer(1))) {
        case adSmallInt: return {2, "Integer"};
        case adInteger: return {3, "Long"};
        case adSingle: return {4, "Single"};
        case adDouble: return {5, "Double"};
        case adCurrency: return {6, "Currency"};
        case adDate: return {7, "Date"};
        case adBoolean: return {11, "Boolean"};
        case adNumeric: case adDecimal: return {14, "Decimal"};
        case adUnsignedTinyInt: return {17, "Byte"};
        case adVarWChar: case adWChar: case adLongVarWChar: case adVarChar: case adLongVarChar: return {8, "String"};
        case adBinary: case adVarBinary: case adLongVarBinary: return {8209, "Byte()"};
        default: break;
    }
    switch (c.Type(0)) {
        case SQLITE_INTEGER: {
            const int64_t v = c.Integer(0);
            return v == static_cast<int32_t>(v) ? VbaType{3, "Long"} : VbaType{5, "Double"};
        }
        case SQLITE_FLOAT: return {5, "Double"};
        case SQLITE_BLOB: return {8209, "Byte()"};
        default: return {8, "String"};
    }
}

void VarTypeF(Call& c) { c.Return(int64_t{VbaTypeOf(c).code}); }
void TypeNameF(Call& c) { c.ReturnText(VbaTypeOf(c).name); }

constexpr FunctionSpec kConversionFunctions[] = {
    {"CSTR", 1, 1, CStr},       {"CLNG", 1, 1, CLng},   {"CINT", 1, 1, CInt},
    {"CDBL", 1, 1, CDbl},       {"CSNG", 1, 1, CSng},   {"CCUR", 1, 1, CCur},
    {"CDATE", 1, 1, CDate},     {"CVDATE", 1, 1, CDate}, {"CBOOL", 1, 1, CBool},
    {"BZ_GUID", 1, 1, StoredGuid},
    {"VAL", 1, 1, Val},         {"NZ", 1, 2, Nz},       {"IIF", 3, 3, IIf},
    {"ISNULL", 1, 1, IsNullF},  {"ISNUMERIC", 1, 1, IsNumeric}, {"ISDATE", 1, 1, IsDate},
    {"ISEMPTY", 1, 1, IsEmptyF}, {"VARTYPE", 2, 2, VarTypeF},  {"TYPENAME", 2, 2, TypeNameF},
};

}  // namespace

std::span<const FunctionSpec> ConversionFunctions() { return kConversionFunctions; }

}  // namespace ado::sqlite::detail
