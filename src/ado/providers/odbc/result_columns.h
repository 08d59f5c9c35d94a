// The columns of a result set as the cursor engine needs them: names, ADO types, sizes,
// nullability, base table and column, key columns and autoincrement.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "ado/cursor/column_info.h"
#include "ado/providers/odbc/diagnostics.h"
#include "ado/providers/odbc/type_map.h"

namespace ado::odbc {

struct DescribedColumn {
    cursor::ColumnInfo info;
    TypeMapping mapping;
    SQLSMALLINT sqlType = 0;  // as the driver reported it
    SQLULEN columnSize = 0;
    SQLSMALLINT decimalDigits = 0;
};

// The primary keys of base tables (SQLPrimaryKeys), asked once per table and session.
class KeyCache {
public:
    explicit KeyCache(SQLHDBC dbc) : dbc_(dbc) {}
    bool IsKey(const cursor::ColumnInfo& column);
    void Clear() { keys_.clear(); }  // after statements that may have changed a schema

private:
    const std::vector<std::string>& KeysOf(const cursor::ColumnInfo& column);
    SQLHDBC dbc_;
    std::map<std::string, std::vector<std::string>> keys_;
};

// Describes the open result of `stmt`. Without `keys`, key columns are not looked up.
std::vector<DescribedColumn> DescribeResult(SQLHSTMT stmt, const ErrorContext& context, KeyCache* keys);

}  // namespace ado::odbc
