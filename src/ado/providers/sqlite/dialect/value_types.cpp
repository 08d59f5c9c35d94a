#include "ado/providers/sqlite/dialect/value_types.h"

#include <algorithm>

namespace ado::sqlite::detail {

namespace {

// Widening order of the plain numbers, as VBA promotes operands.
int NumberRank(DataTypeEnum t) {
    switch (t) {
        case adBoolean: return 1;
        case adUnsignedTinyInt: return 0;
        case adTinyInt: case adSmallInt: return 2;
        case adInteger: return 3;
        case adBigInt: return 4;
        case adSingle: return 5;
        case adDouble: return 6;
        default: return -1;
    }
}

DataTypeEnum Wider(DataTypeEnum a, DataTypeEnum b) {
    DataTypeEnum w = NumberRank(a) >= NumberRank(b) ? a : b;
    return w == adBoolean ? adSmallInt : w;
}

bool IsReal(DataTypeEnum t) { return t == adSingle || t == adDouble; }

}  // namespace

bool IsTextType(DataTypeEnum t) {
    switch (t) {
        case adVarWChar: case adLongVarWChar: case adWChar: case adChar: case adVarChar: case adLongVarChar: case adBSTR:
            return true;
        default: return false;
    }
}

bool IsIntegerType(DataTypeEnum t) {
    switch (t) {
        case adBoolean: case adUnsignedTinyInt: case adTinyInt: case adSmallInt: case adInteger: case adBigInt:
            return true;
        default: return false;
    }
}

bool IsDecimalType(DataTypeEnum t) { return t == adNumeric || t == adDecimal; }

bool IsNumberType(DataTypeEnum t) { return IsIntegerType(t) || IsReal(t) || t == adCurrency || IsDecimalType(t); }

Repr ReprOf(DataTypeEnum t) {
    if (t == adCurrency) return Repr::Currency;
    if (IsDecimalType(t)) return Repr::Decimal;
    return Repr::Plain;
}

DataTypeEnum ArithmeticType(Op op, DataTypeEnum a, DataTypeEnum b) {
    if (op == Op::Concat || op == Op::Pipe) return adVarWChar;
    if (op == Op::BitOr || op == Op::BitAnd || op == Op::ShiftLeft || op == Op::ShiftRight) return adBigInt;
    if (a == adEmpty) a = b;
    if (b == adEmpty) b = a;
    if (op == Op::Add && IsTextType(a) && IsTextType(b)) return adVarWChar;  // + joins two texts
    // A text operand of arithmetic is read as a number.
    if (IsTextType(a)) a = adDouble;
    if (IsTextType(b)) b = adDouble;
    if (op == Op::Pow) return adDouble;
    if (op == Op::IntDiv || op == Op::Mod) return (a == adBigInt || b == adBigInt) ? adBigInt : adInteger;
    if (a == adDate || b == adDate) {
        if (op == Op::Sub && a == adDate && b == adDate) return adDouble;
        if (op == Op::Add || op == Op::Sub) return adDate;
        if (a == adDate) a = adDouble;
        if (b == adDate) b = adDouble;
    }
    if (a == adVariant || b == adVariant) {
        const DataTypeEnum known = a == adVariant ? b : a;
        return known == adCurrency || IsDecimalType(known) ? adDouble : adVariant;
    }
    if (IsDecimalType(a) || IsDecimalType(b)) return adNumeric;
    if (op == Op::Div) return adDouble;
    if (a == adCurrency || b == adCurrency) {
        const DataTypeEnum other = a == adCurrency ? b : a;
        return IsReal(other) ? adDouble : adCurrency;
    }
    if (!IsNumberType(a) || !IsNumberType(b)) return adVariant;
    return Wider(a, b);
}

DataTypeEnum ComparisonType(DataTypeEnum a, DataTypeEnum b) {
    if (a == b) return a;
    if (a == adVariant || a == adEmpty) return b == adEmpty ? adVariant : b;
    if (b == adVariant || b == adEmpty) return a;
    if (a == adDate || b == adDate) {
        const DataTypeEnum other = a == adDate ? b : a;
        return IsTextType(other) || IsNumberType(other) ? adDate : adVariant;
    }
    if (IsTextType(a) && IsTextType(b)) return adVarWChar;
    if (IsDecimalType(a) || IsDecimalType(b)) {
        const DataTypeEnum other = IsDecimalType(a) ? b : a;
        return IsNumberType(other) || IsTextType(other) ? adNumeric : adVariant;
    }
    if (a == adCurrency || b == adCurrency) {
        const DataTypeEnum other = a == adCurrency ? b : a;
        if (IsIntegerType(other) || IsTextType(other)) return adCurrency;
        return IsReal(other) ? adDouble : adVariant;
    }
    if (IsNumberType(a) && IsNumberType(b)) return Wider(a, b);
    return adVariant;
}

DataTypeEnum CommonType(DataTypeEnum a, DataTypeEnum b) {
    if (a == b) return a;
    if (a == adEmpty) return b;
    if (b == adEmpty) return a;
    if (a == adVariant || b == adVariant) return adVariant;
    if (IsTextType(a) && IsTextType(b)) return (a == adLongVarWChar || b == adLongVarWChar) ? adLongVarWChar : adVarWChar;
    if (!IsNumberType(a) || !IsNumberType(b)) return adVariant;
    if (IsDecimalType(a) || IsDecimalType(b)) return adNumeric;
    if (a == adCurrency || b == adCurrency) {
        const DataTypeEnum other = a == adCurrency ? b : a;
        return IsReal(other) ? adDouble : adCurrency;
    }
    return Wider(a, b);
}

std::string DeclaredNameOf(const ValueType& t) {
    switch (t.type) {
        case adBoolean: return "YESNO";
        case adUnsignedTinyInt: case adTinyInt: return "BYTE";
        case adSmallInt: return "SHORT";
        case adInteger: return "LONG";
        case adBigInt: return "BIGINT";
        case adSingle: return "SINGLE";
        case adDouble: return "DOUBLE";
        case adCurrency: return "CURRENCY";
        case adNumeric: case adDecimal:
            return "DECIMAL(" + std::to_string(t.precision ? t.precision : 18) + "," + std::to_string(t.scale) + ")";
        case adDate: return "DATETIME";
        case adVarWChar: case adWChar: case adChar: case adVarChar: case adBSTR:
            return "TEXT(" + std::to_string(t.size > 0 && t.size <= 255 ? t.size : 255) + ")";
        case adLongVarWChar: case adLongVarChar: return "MEMO";
        case adGUID: return "GUID";
        case adLongVarBinary: case adVarBinary: case adBinary: return "LONGBINARY";
        default: return "";
    }
}

ValueType ResultShapeOf(ValueType t) {
    switch (t.type) {
        case adBoolean: t.size = 2; break;
        case adUnsignedTinyInt: t.size = 1; break;
        case adSmallInt: t.size = 2; break;
        case adInteger: case adSingle: t.size = 4; break;
        case adBigInt: case adDouble: case adCurrency: case adDate: t.size = 8; break;
        case adNumeric: case adDecimal:
            t.type = adNumeric;
            t.size = 19;
            if (!t.precision) t.precision = 28;
            break;
        case adVarWChar: if (t.size <= 0 || t.size > 255) t.size = 255; break;
        case adLongVarWChar: t.size = 536870910; break;
        case adLongVarBinary: t.size = 1073741823; break;
        case adGUID: t.size = 16; break;
        default: break;
    }
    return t;
}

}  // namespace ado::sqlite::detail
