#include "ado/providers/sqlite/prepared_statement.h"

#include "ado/error_numbers.h"
#include "ado/providers/sqlite/row_identity.h"
#include "ado/providers/sqlite/statement_run.h"

namespace ado::sqlite {

SqlitePreparedStatement::~SqlitePreparedStatement() {
    if (Valid()) sqlite3_finalize(stmt_);
}

int64_t SqlitePreparedStatement::Run(const provider::Statement& st, cursor::RowStore& rows) {
    if (!Valid()) Raise(Condition::ObjectClosed);
    const int64_t result = RunStatement(db_, stmt_, *translation_, st, kind_, rows);
    if (result < 0) MarkRowIdentityColumns(rows, translation_->rowIdentity);
    return result;
}

}  // namespace ado::sqlite
