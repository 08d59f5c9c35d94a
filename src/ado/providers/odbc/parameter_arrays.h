// The parameters of many rows of one statement shape bound at once, column-wise
// (SQL_ATTR_PARAMSET_SIZE), so the driver runs them in one execution.
#pragma once

#include <span>
#include <vector>

#include "ado/cursor/row_write.h"
#include "ado/providers/odbc/diagnostics.h"
#include "ado/providers/odbc/parameter_column.h"

namespace ado::odbc {

class ParameterArrays {
public:
    // Binds the inserted values of `rows` (all of one shape) to `stmt` as parameter arrays.
    // `columnTypes` holds the SQL type of each target column (0 = unknown), as ParameterSet
    // takes it. Returns false, binding nothing, when a column's values are not all of one kind
    // (an integer in one row, a text in another): such rows go one by one.
    bool Bind(SQLHSTMT stmt, std::span<const cursor::RowWrite> rows, bool narrowUtf8, const ErrorContext& context,
              const std::vector<SQLSMALLINT>& columnTypes);

private:
    std::vector<ParameterColumn> columns_;
};

}  // namespace ado::odbc
