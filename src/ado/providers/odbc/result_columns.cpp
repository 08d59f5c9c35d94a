#include "ado/providers/odbc/result_columns.h"

#include <algorithm>

namespace ado::odbc {

namespace {

constexpr int32_t kLongDefinedSize = 2147483647;

std::string TextAttribute(SQLHSTMT stmt, SQLUSMALLINT column, SQLUSMALLINT field) {
    SQLWCHAR buffer[256] = {};
    SQLSMALLINT bytes = 0;
    if (!Succeeded(SQLColAttributeW(stmt, column, field, buffer, sizeof buffer, &bytes, nullptr))) return {};
    const size_t units = std::min<size_t>(static_cast<size_t>(std::max<SQLSMALLINT>(bytes, 0)) / sizeof(SQLWCHAR),
                                          std::size(buffer) - 1);
    return ToUtf8(buffer, units);
}

SQLLEN NumberAttribute(SQLHSTMT stmt, SQLUSMALLINT column, SQLUSMALLINT field, SQLLEN fallback) {
    SQLLEN value = fallback;
    if (!Succeeded(SQLColAttributeW(stmt, column, field, nullptr, 0, nullptr, &value))) return fallback;
    return value;
}

bool IsNumericFetch(Fetch f) {
    return f == Fetch::Integer || f == Fetch::Real || f == Fetch::Numeric || f == Fetch::Currency;
}

void DescribeOne(SQLHSTMT stmt, SQLUSMALLINT number, const ErrorContext& context, DescribedColumn& d) {
    SQLWCHAR name[256] = {};
    SQLSMALLINT nameLength = 0, nullable = SQL_NULLABLE_UNKNOWN;
    CheckStmt(SQLDescribeColW(stmt, number, name, static_cast<SQLSMALLINT>(std::size(name)), &nameLength, &d.sqlType,
                              &d.columnSize, &d.decimalDigits, &nullable),
              stmt, context);
    cursor::ColumnInfo& c = d.info;
    c.name = ToUtf8(name, std::min<size_t>(static_cast<size_t>(nameLength), std::size(name) - 1));
    const bool unsignedType = NumberAttribute(stmt, number, SQL_DESC_UNSIGNED, SQL_FALSE) == SQL_TRUE;
    d.mapping = MapSqlType(d.sqlType, TextAttribute(stmt, number, SQL_DESC_TYPE_NAME), unsignedType, d.columnSize);
    const TypeMapping& m = d.mapping;
    c.type = m.type;
    if (m.fixedSize > 0) c.definedSize = m.fixedSize;
    else if (m.isLong) c.definedSize = kLongDefinedSize;
    else c.definedSize = static_cast<int32_t>(std::min<SQLULEN>(d.columnSize, kLongDefinedSize));
    if (IsNumericFetch(m.fetch)) {
        c.precision = static_cast<uint8_t>(std::min<SQLULEN>(d.columnSize, 255));
        c.numericScale = static_cast<uint8_t>(std::clamp<SQLSMALLINT>(d.decimalDigits, 0, 255));
    }
    c.baseCatalog = TextAttribute(stmt, number, SQL_DESC_CATALOG_NAME);
    c.baseSchema = TextAttribute(stmt, number, SQL_DESC_SCHEMA_NAME);
    c.baseTable = TextAttribute(stmt, number, SQL_DESC_BASE_TABLE_NAME);
    if (!c.baseTable.empty()) {
        c.baseColumn = TextAttribute(stmt, number, SQL_DESC_BASE_COLUMN_NAME);
        if (c.baseColumn.empty()) c.baseColumn = c.name;
    }
    c.autoIncrement = NumberAttribute(stmt, number, SQL_DESC_AUTO_UNIQUE_VALUE, SQL_FALSE) == SQL_TRUE;

    if (nullable != SQL_NO_NULLS) c.attributes |= adFldMayBeNull;
    if (nullable == SQL_NULLABLE) c.attributes |= adFldIsNullable;
    if (m.fixedSize > 0) c.attributes |= adFldFixed;
    if (m.isLong) c.attributes |= adFldLong;
    if (m.rowVersion) c.attributes |= adFldRowVersion;
    switch (NumberAttribute(stmt, number, SQL_DESC_UPDATABLE, SQL_ATTR_READWRITE_UNKNOWN)) {
        case SQL_ATTR_READONLY: break;
        case SQL_ATTR_WRITE: c.attributes |= adFldUpdatable; break;
        default: c.attributes |= adFldUnknownUpdatable; break;
    }
    if (c.baseTable.empty() || c.autoIncrement || m.rowVersion) c.attributes &= ~adFldUpdatable;
}

}  // namespace

std::vector<DescribedColumn> DescribeResult(SQLHSTMT stmt, const ErrorContext& context, KeyCache* keys) {
    SQLSMALLINT count = 0;
    CheckStmt(SQLNumResultCols(stmt, &count), stmt, context);
    std::vector<DescribedColumn> columns(static_cast<size_t>(std::max<SQLSMALLINT>(count, 0)));
    for (SQLUSMALLINT i = 0; i < columns.size(); ++i) {
        DescribeOne(stmt, static_cast<SQLUSMALLINT>(i + 1), context, columns[i]);
        cursor::ColumnInfo& c = columns[i].info;
        c.key = keys && !c.baseTable.empty() && keys->IsKey(c);
        if (c.key) c.attributes |= adFldKeyColumn;
    }
    return columns;
}

bool KeyCache::IsKey(const cursor::ColumnInfo& column) {
    const auto& keys = KeysOf(column);
    return std::find(keys.begin(), keys.end(), column.baseColumn) != keys.end();
}

const std::vector<std::string>& KeyCache::KeysOf(const cursor::ColumnInfo& c) {
    const std::string id = c.baseCatalog + '\x1f' + c.baseSchema + '\x1f' + c.baseTable;
    if (auto it = keys_.find(id); it != keys_.end()) return it->second;
    std::vector<std::string>& keys = keys_[id];
    SQLHANDLE h = SQL_NULL_HANDLE;
    if (!Succeeded(SQLAllocHandle(SQL_HANDLE_STMT, dbc_, &h))) return keys;
    const Handle stmt(SQL_HANDLE_STMT, h);
    WString catalog = ToUtf16(c.baseCatalog), schema = ToUtf16(c.baseSchema), table = ToUtf16(c.baseTable);
    auto arg = [](WString& s) { return s.empty() ? nullptr : s.data(); };
    // A driver without SQLPrimaryKeys leaves the table keyless: updates then compare every column.
    if (!Succeeded(SQLPrimaryKeysW(h, arg(catalog), static_cast<SQLSMALLINT>(catalog.size()), arg(schema),
                                   static_cast<SQLSMALLINT>(schema.size()), table.data(),
                                   static_cast<SQLSMALLINT>(table.size()))))
        return keys;
    while (Succeeded(SQLFetch(h))) {
        SQLWCHAR name[256] = {};
        SQLLEN bytes = 0;
        if (Succeeded(SQLGetData(h, 4, SQL_C_WCHAR, name, sizeof name, &bytes)) && bytes > 0)
            keys.push_back(ToUtf8(name, std::min<size_t>(static_cast<size_t>(bytes) / sizeof(SQLWCHAR), 255)));
    }
    return keys;
}

}  // namespace ado::odbc
