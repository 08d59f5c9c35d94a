// Reads the rows of a prepared statement into the cursor engine's row store.
#pragma once

#include <sqlcipher/sqlite3.h>

#include "ado/cursor/row_store.h"

namespace ado::sqlite {

// Describes the statement's columns (ADO types, base table and column, keys) into `rows`.
void DescribeColumns(sqlite3* db, sqlite3_stmt* stmt, cursor::RowStore& rows);

// Steps the statement to its end, appending every row. `firstStep` is the result of the
// step the caller already made. Engine failures are thrown as ado::Error.
void ReadRows(sqlite3* db, sqlite3_stmt* stmt, int firstStep, cursor::RowStore& rows);

}  // namespace ado::sqlite
