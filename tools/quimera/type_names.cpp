#include "type_names.h"

namespace tool {

namespace {

struct TypeRow {
    ado::DataTypeEnum type;
    const char* name;
    const char* access;  // nullptr: decided by the size or precision
};

constexpr TypeRow kTypes[] = {
    {ado::adTinyInt, "TinyInt", "SHORT"},         {ado::adUnsignedTinyInt, "UnsignedTinyInt", "BYTE"},
    {ado::adSmallInt, "SmallInt", "SHORT"},       {ado::adUnsignedSmallInt, "UnsignedSmallInt", "LONG"},
    {ado::adInteger, "Integer", "LONG"},          {ado::adUnsignedInt, "UnsignedInt", "BIGINT"},
    {ado::adBigInt, "BigInt", "BIGINT"},          {ado::adUnsignedBigInt, "UnsignedBigInt", "DECIMAL(20, 0)"},
    {ado::adSingle, "Single", "SINGLE"},          {ado::adDouble, "Double", "DOUBLE"},
    {ado::adCurrency, "Currency", "CURRENCY"},    {ado::adDecimal, "Decimal", nullptr},
    {ado::adNumeric, "Numeric", nullptr},         {ado::adVarNumeric, "VarNumeric", nullptr},
    {ado::adDate, "Date", "DATETIME"},            {ado::adDBDate, "DBDate", "DATETIME"},
    {ado::adDBTime, "DBTime", "DATETIME"},        {ado::adDBTimeStamp, "DBTimeStamp", "DATETIME"},
    {ado::adFileTime, "FileTime", "DATETIME"},    {ado::adBoolean, "Boolean", "YESNO"},
    {ado::adGUID, "GUID", "GUID"},                {ado::adChar, "Char", nullptr},
    {ado::adVarChar, "VarChar", nullptr},         {ado::adLongVarChar, "LongVarChar", "MEMO"},
    {ado::adWChar, "WChar", nullptr},             {ado::adVarWChar, "VarWChar", nullptr},
    {ado::adLongVarWChar, "LongVarWChar", "MEMO"}, {ado::adBSTR, "BSTR", "MEMO"},
    {ado::adBinary, "Binary", "LONGBINARY"},      {ado::adVarBinary, "VarBinary", "LONGBINARY"},
    {ado::adLongVarBinary, "LongVarBinary", "LONGBINARY"}, {ado::adVariant, "Variant", "VARIANT"},
    {ado::adChapter, "Chapter", nullptr},
};

const TypeRow* Find(ado::DataTypeEnum type) {
    for (const TypeRow& r : kTypes)
        if (r.type == type) return &r;
    return nullptr;
}

}  // namespace

std::string TypeName(ado::DataTypeEnum type) {
    const TypeRow* r = Find(type);
    return r ? r->name : std::to_string(static_cast<int>(type));
}

std::string AccessType(const ado::Field& f) {
    const TypeRow* r = Find(f.Type());
    if (r && r->access) return r->access;
    switch (f.Type()) {
        case ado::adDecimal: case ado::adNumeric: case ado::adVarNumeric:
            return "DECIMAL(" + std::to_string(f.Precision() ? f.Precision() : 18) + ", " +
                   std::to_string(f.NumericScale()) + ")";
        case ado::adChar: case ado::adVarChar: case ado::adWChar: case ado::adVarWChar:
            return f.DefinedSize() > 0 && f.DefinedSize() <= 255 ? "TEXT(" + std::to_string(f.DefinedSize()) + ")"
                                                                 : std::string("MEMO");
        default: return "VARIANT";
    }
}

}  // namespace tool
