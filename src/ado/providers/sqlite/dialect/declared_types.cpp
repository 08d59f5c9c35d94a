#include "ado/providers/sqlite/dialect/declared_types.h"

#include <cctype>
#include <charconv>
#include <string>

namespace ado::sqlite {

namespace {

constexpr int32_t kLongTextSize = 536870910;  // what the Access engine reports for memo fields
constexpr int32_t kLongBinarySize = 1073741823;

// Access and SQL type names, by the first word of the declaration.
struct TypeRow {
    std::string_view name;
    DataTypeEnum type;
    int32_t size;  // default DefinedSize; 0 = from (n) or the fixed width
};
constexpr TypeRow kTypes[] = {
    {"TEXT", adVarWChar, 255},        {"VARCHAR", adVarWChar, 255},     {"NVARCHAR", adVarWChar, 255},
    {"CHAR", adVarWChar, 255},        {"NCHAR", adVarWChar, 255},       {"CHARACTER", adVarWChar, 255},
    {"STRING", adVarWChar, 255},      {"ALPHANUMERIC", adVarWChar, 255},
    {"MEMO", adLongVarWChar, kLongTextSize},     {"LONGTEXT", adLongVarWChar, kLongTextSize},
    {"LONGCHAR", adLongVarWChar, kLongTextSize}, {"NOTE", adLongVarWChar, kLongTextSize},
    {"NTEXT", adLongVarWChar, kLongTextSize},    {"CLOB", adLongVarWChar, kLongTextSize},
    {"LONG", adInteger, 4},           {"INTEGER", adInteger, 4},        {"INT", adInteger, 4},
    {"INTEGER4", adInteger, 4},       {"SHORT", adSmallInt, 2},         {"SMALLINT", adSmallInt, 2},
    {"INTEGER2", adSmallInt, 2},      {"BYTE", adUnsignedTinyInt, 1},   {"TINYINT", adUnsignedTinyInt, 1},
    {"INTEGER1", adUnsignedTinyInt, 1},
    {"BIGINT", adBigInt, 8},          {"COUNTER", adInteger, 4},        {"AUTOINCREMENT", adInteger, 4},
    {"IDENTITY", adInteger, 4},       {"DOUBLE", adDouble, 8},          {"FLOAT", adDouble, 8},
    {"FLOAT8", adDouble, 8},          {"NUMBER", adDouble, 8},          {"SINGLE", adSingle, 4},
    {"REAL", adDouble, 8},            {"FLOAT4", adSingle, 4},          {"CURRENCY", adCurrency, 8},
    {"MONEY", adCurrency, 8},         {"DECIMAL", adNumeric, 19},       {"NUMERIC", adNumeric, 19},
    {"DEC", adNumeric, 19},           {"DATETIME", adDate, 8},          {"DATE", adDate, 8},
    {"TIME", adDate, 8},              {"TIMESTAMP", adDate, 8},         {"BIT", adBoolean, 2},
    {"YESNO", adBoolean, 2},          {"LOGICAL", adBoolean, 2},        {"LOGICAL1", adBoolean, 2},
    {"BOOLEAN", adBoolean, 2},        {"GUID", adGUID, 16},             {"UNIQUEIDENTIFIER", adGUID, 16},
    {"BINARY", adLongVarBinary, kLongBinarySize},   {"VARBINARY", adLongVarBinary, kLongBinarySize},
    {"OLEOBJECT", adLongVarBinary, kLongBinarySize}, {"LONGBINARY", adLongVarBinary, kLongBinarySize},
    {"BLOB", adLongVarBinary, kLongBinarySize},      {"IMAGE", adLongVarBinary, kLongBinarySize},
    {"GENERAL", adLongVarBinary, kLongBinarySize},
};

bool SameWord(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (std::toupper(static_cast<unsigned char>(a[i])) != b[i]) return false;
    return true;
}

// The numbers inside "(n)" or "(p, s)" after the type name.
void ReadArguments(std::string_view rest, int& first, int& second) {
    const size_t open = rest.find('(');
    if (open == std::string_view::npos) return;
    const char* p = rest.data() + open + 1;
    const char* end = rest.data() + rest.size();
    while (p < end && *p == ' ') ++p;
    p = std::from_chars(p, end, first).ptr;
    while (p < end && (*p == ' ' || *p == ',')) ++p;
    std::from_chars(p, end, second);
}

}  // namespace

MappedType MapDeclaredType(std::string_view declared) {
    size_t i = 0;
    while (i < declared.size() && std::isspace(static_cast<unsigned char>(declared[i]))) ++i;
    size_t j = i;
    while (j < declared.size() && (std::isalnum(static_cast<unsigned char>(declared[j])) || declared[j] == '_')) ++j;
    const std::string_view word = declared.substr(i, j - i);
    for (const auto& row : kTypes) {
        if (!SameWord(word, row.name)) continue;
        MappedType m{row.type, row.size, 0, 0, false};
        int first = -1, second = -1;
        ReadArguments(declared.substr(j), first, second);
        if (row.type == adVarWChar && first > 0) m.definedSize = first;
        if (row.type == adNumeric) {
            m.precision = static_cast<uint8_t>(first > 0 ? first : 18);
            m.scale = static_cast<uint8_t>(second > 0 ? second : 0);
        }
        m.autoIncrement = row.name == "COUNTER" || row.name == "AUTOINCREMENT" || row.name == "IDENTITY";
        return m;
    }
    return {adVariant, 0, 0, 0, false};
}

bool IsFixedLength(DataTypeEnum type) {
    switch (type) {
        case adSmallInt: case adInteger: case adBigInt: case adUnsignedTinyInt: case adTinyInt: case adSingle:
        case adDouble: case adCurrency: case adNumeric: case adDecimal: case adDate: case adBoolean: case adGUID:
            return true;
        default: return false;
    }
}

bool IsLong(DataTypeEnum type) {
    return type == adLongVarWChar || type == adLongVarChar || type == adLongVarBinary;
}

}  // namespace ado::sqlite
