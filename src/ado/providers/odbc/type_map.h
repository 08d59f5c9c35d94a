// ODBC SQL types (with the engine's type name) to ADO data types, and how values of each
// are fetched into the client cursor's cells.
#pragma once

#include <cstdint>
#include <string_view>

#include "ado/Enums.h"
#include "ado/providers/odbc/odbc_api.h"

namespace ado::odbc {

// The C form a column is fetched in, and the cell it becomes.
enum class Fetch : uint8_t {
    Integer,    // SQL_C_SBIGINT -> Int
    Boolean,    // SQL_C_BIT -> Bool
    Real,       // SQL_C_DOUBLE -> Real
    Numeric,    // decimal text -> Decimal (exact)
    Currency,   // decimal text -> Currency
    Timestamp,  // SQL_C_TYPE_TIMESTAMP -> Date
    Time,       // SQL_C_TYPE_TIME -> Date (time only)
    Text,       // SQL_C_CHAR (UTF-8 drivers) or SQL_C_WCHAR -> Text
    Binary,     // SQL_C_BINARY -> Blob
};

struct TypeMapping {
    DataTypeEnum type;
    Fetch fetch;
    int32_t fixedSize;  // DefinedSize of fixed-length types; 0 for texts and binaries
    bool isLong;        // adFldLong: text and binary without a useful size limit
    bool rowVersion;    // SQL Server's timestamp/rowversion
};

// `sqlType` from SQLDescribeCol, `typeName` from SQL_DESC_TYPE_NAME ("bool", "money", ...),
// `unsignedType` from SQL_DESC_UNSIGNED, `columnSize` in characters or bytes (0 = unknown).
TypeMapping MapSqlType(SQLSMALLINT sqlType, std::string_view typeName, bool unsignedType, SQLULEN columnSize);

// A text or binary column at least this long, or of unknown length, is adFldLong.
inline constexpr SQLULEN kLongColumnSize = 65535;

}  // namespace ado::odbc
