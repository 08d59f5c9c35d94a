#include "ado/providers/sqlite/prepared_statement.h"

#include "ado/error_numbers.h"
#include "ado/providers/sqlite/statement_run.h"

namespace ado::sqlite {

SqlitePreparedStatement::~SqlitePreparedStatement() {
    if (Valid()) sqlite3_finalize(stmt_);
}

int64_t SqlitePreparedStatement::Run(const provider::Statement& st, cursor::RowStore& rows) {
    if (!Valid()) Raise(Condition::ObjectClosed);
    return RunStatement(db_, stmt_, *translation_, st, kind_, rows);
}

}  // namespace ado::sqlite
