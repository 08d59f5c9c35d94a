// One run of a compiled statement for a command: its values bound, the command's time
// limit on the engine, and its rows or its count of records affected.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include <sqlcipher/sqlite3.h>

#include "ado/provider.h"
#include "ado/providers/sqlite/dialect/access_dialect.h"
#include "ado/providers/sqlite/sqlite_errors.h"

namespace ado::sqlite {

// Values bind by name where both the text and the command name them, by position
// otherwise, each in the form its parameter takes (the translation's parameterTypes).
void BindStatement(sqlite3_stmt* stmt, const Translation& tr, const provider::Statement& st);

// Binds `st`'s values, steps the statement within st.timeoutSeconds and resets it. A
// statement with columns fills `rows` (typed as the translation says where the engine has
// no declared type) and gives -1; any other gives the records affected. Engine failures
// are thrown as ado::Error, classified by `kind`.
int64_t RunStatement(sqlite3* db, sqlite3_stmt* stmt, const Translation& tr, const provider::Statement& st,
                     StatementKind kind, cursor::RowStore& rows);

}  // namespace ado::sqlite
