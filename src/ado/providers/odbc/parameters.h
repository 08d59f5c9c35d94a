// Variants bound as statement parameters (SQLBindParameter), one row of values at a time.
#pragma once

#include <string>
#include <vector>

#include "ado/Variant.h"
#include "ado/providers/odbc/diagnostics.h"
#include "ado/providers/odbc/parameter_column.h"

namespace ado::odbc {

class ParameterSet {
public:
    // Binds `values` to the markers 1..n of `stmt`. The buffers stay with this object, which
    // must outlive the statement's execution. Texts go as SQL_C_CHAR (UTF-8 drivers) or
    // SQL_C_WCHAR, dates as SQL_TIMESTAMP_STRUCT, Decimal and Currency as decimal text, Bool as
    // SQL_BIT; Null and Empty as a null VARCHAR. `columnTypes`, when given, holds the SQL type of
    // the column each value is written to or compared with (0 = unknown): dates then go as the
    // column's DATE or TIME, and Null as a null of the column's type, which engines such as SQL
    // Server need where a VARCHAR does not convert (binary columns, times).
    void Bind(SQLHSTMT stmt, const std::vector<Variant>& values, bool narrowUtf8, const ErrorContext& context,
              const std::vector<SQLSMALLINT>* columnTypes = nullptr);

private:
    std::vector<ParameterColumn> columns_;  // one per marker, kept between binds for their buffers
};

}  // namespace ado::odbc
