// One parameter's values for the driver, for one row or for many (a parameter array): the one
// table from a Variant's kind to its C type, SQL type, size and bytes, shared by single-row and
// array binds.
#pragma once

#include <cstddef>
#include <functional>
#include <vector>

#include "ado/Variant.h"
#include "ado/providers/odbc/diagnostics.h"

namespace ado::odbc {

struct ParameterColumn {
    SQLSMALLINT cType = SQL_C_CHAR;
    SQLSMALLINT sqlType = SQL_VARCHAR;
    SQLULEN columnSize = 1;
    SQLSMALLINT digits = 0;
    size_t width = 1;               // bytes of one element
    std::vector<char> data;         // one element of `width` bytes per row
    std::vector<SQLLEN> indicators; // per row: the bytes given, or SQL_NULL_DATA
};

// A row's value of this parameter; nullptr for Null and Empty.
using ParameterValue = std::function<const Variant*(size_t row)>;

// Fills `column` with `rows` values, all of `kind` (Null when every one is null). `target` is the
// SQL type of the column they are written to or compared with (0 = unknown): dates then go as
// its DATE or TIME, Null as a null of its type. Texts go as SQL_C_CHAR (UTF-8 drivers) or
// SQL_C_WCHAR, dates as SQL_TIMESTAMP_STRUCT, Decimal and Currency as decimal text, Bool as
// SQL_BIT. False, filling nothing, for a kind no parameter takes (arrays, objects).
bool FillParameterColumn(ParameterColumn& column, VariantType kind, size_t rows, const ParameterValue& value,
                         SQLSMALLINT target, bool narrowUtf8);

// Binds the filled column to marker `number` (1-based) of `stmt`; the column must outlive the
// statement's execution and stay where it is.
void BindParameterColumn(SQLHSTMT stmt, SQLUSMALLINT number, ParameterColumn& column, const ErrorContext& context);

// The kind a value binds as: Null for Null and Empty.
inline VariantType BindingKind(const Variant& v) { return v.IsNull() || v.IsEmpty() ? VariantType::Null : v.Type(); }

}  // namespace ado::odbc
