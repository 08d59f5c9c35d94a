#include "ado/providers/odbc/type_map.h"

#include "ado/connection_string.h"

namespace ado::odbc {

namespace {

struct SqlTypeRow {
    SQLSMALLINT sqlType;
    DataTypeEnum type;
    Fetch fetch;
    int32_t fixedSize;
};
// As the OLE DB provider for ODBC reports them.
constexpr SqlTypeRow kSqlTypes[] = {
    {SQL_CHAR, adChar, Fetch::Text, 0},
    {SQL_VARCHAR, adVarChar, Fetch::Text, 0},
    {SQL_LONGVARCHAR, adLongVarChar, Fetch::Text, 0},
    {SQL_WCHAR, adWChar, Fetch::Text, 0},
    {SQL_WVARCHAR, adVarWChar, Fetch::Text, 0},
    {SQL_WLONGVARCHAR, adLongVarWChar, Fetch::Text, 0},
    {SQL_DECIMAL, adNumeric, Fetch::Numeric, 19},
    {SQL_NUMERIC, adNumeric, Fetch::Numeric, 19},
    {SQL_SMALLINT, adSmallInt, Fetch::Integer, 2},
    {SQL_INTEGER, adInteger, Fetch::Integer, 4},
    {SQL_BIGINT, adBigInt, Fetch::Integer, 8},
    {SQL_TINYINT, adTinyInt, Fetch::Integer, 1},
    {SQL_BIT, adBoolean, Fetch::Boolean, 2},
    {SQL_REAL, adSingle, Fetch::Real, 4},
    {SQL_FLOAT, adDouble, Fetch::Real, 8},
    {SQL_DOUBLE, adDouble, Fetch::Real, 8},
    {SQL_TYPE_DATE, adDBDate, Fetch::Timestamp, 6},
    {SQL_TYPE_TIME, adDBTime, Fetch::Time, 6},
    {SQL_TYPE_TIMESTAMP, adDBTimeStamp, Fetch::Timestamp, 16},
    {SQL_DATE, adDBDate, Fetch::Timestamp, 6},
    {SQL_TIME, adDBTime, Fetch::Time, 6},
    {SQL_TIMESTAMP, adDBTimeStamp, Fetch::Timestamp, 16},
    {SQL_BINARY, adBinary, Fetch::Binary, 0},
    {SQL_VARBINARY, adVarBinary, Fetch::Binary, 0},
    {SQL_LONGVARBINARY, adLongVarBinary, Fetch::Binary, 0},
    {SQL_GUID, adGUID, Fetch::Text, 16},
};

// Engine type names that say more than the SQL type: PostgreSQL's driver reports booleans as
// text by default, money types are decimals to ODBC.
struct NameRow {
    std::string_view typeName;
    DataTypeEnum type;
    Fetch fetch;
    int32_t fixedSize;
};
constexpr NameRow kTypeNames[] = {
    {"bool", adBoolean, Fetch::Boolean, 2},
    {"boolean", adBoolean, Fetch::Boolean, 2},
    {"money", adCurrency, Fetch::Currency, 8},
    {"smallmoney", adCurrency, Fetch::Currency, 8},
};

// A text or binary type without a useful length limit keeps its long form.
DataTypeEnum LongFormOf(DataTypeEnum t) {
    switch (t) {
        case adChar: case adVarChar: case adLongVarChar: return adLongVarChar;
        case adWChar: case adVarWChar: case adLongVarWChar: return adLongVarWChar;
        default: return adLongVarBinary;
    }
}

}  // namespace

TypeMapping MapSqlType(SQLSMALLINT sqlType, std::string_view typeName, bool unsignedType, SQLULEN columnSize) {
    // SQL Server's timestamp is a row version, not a date.
    if ((sqlType == SQL_BINARY || sqlType == SQL_VARBINARY) &&
        (EqualsNoCase(typeName, "timestamp") || EqualsNoCase(typeName, "rowversion")))
        return {adBinary, Fetch::Binary, 8, false, true};
    for (const auto& row : kTypeNames)
        if (EqualsNoCase(typeName, row.typeName)) return {row.type, row.fetch, row.fixedSize, false, false};
    for (const auto& row : kSqlTypes) {
        if (row.sqlType != sqlType) continue;
        TypeMapping m{row.type, row.fetch, row.fixedSize, false, false};
        if (row.type == adTinyInt && unsignedType) m.type = adUnsignedTinyInt;
        if (row.fixedSize == 0) {
            m.isLong = columnSize == 0 || columnSize >= kLongColumnSize || row.type == adLongVarChar ||
                       row.type == adLongVarWChar || row.type == adLongVarBinary;
            if (m.isLong) m.type = LongFormOf(row.type);
        }
        return m;
    }
    // Types ADO has no name for (intervals, XML, engine extensions) are read as text.
    return {adVarWChar, Fetch::Text, 0, columnSize == 0 || columnSize >= kLongColumnSize, false};
}

}  // namespace ado::odbc
