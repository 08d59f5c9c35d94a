// Reads the rows of a prepared statement into the cursor engine's row store.
#pragma once

#include <sqlcipher/sqlite3.h>

#include <functional>
#include <vector>

#include "ado/cursor/row_store.h"
#include "ado/providers/sqlite/dialect/access_dialect.h"

namespace ado::sqlite {

// Describes the statement's columns (ADO types, base table and column, keys) into `rows`.
// A column without a declared type (an expression) takes the type the translator gave it
// in `typed`, when it gave one.
void DescribeColumns(sqlite3* db, sqlite3_stmt* stmt, cursor::RowStore& rows,
                     const std::vector<ResultColumnType>& typed = {});

// One value of the current row, read as a value of `type` (the form the file keeps it in).
Variant ReadValue(sqlite3_stmt* stmt, int column, DataTypeEnum type);

// Steps the statement to its end, appending every row. `firstStep` is the result of the
// step the caller already made. Engine failures are thrown as ado::Error. With `page`, the
// rows go to it a page at a time (see provider::Statement::page).
void ReadRows(sqlite3* db, sqlite3_stmt* stmt, int firstStep, cursor::RowStore& rows,
              const std::function<bool(cursor::RowStore&)>& page = {});

}  // namespace ado::sqlite
