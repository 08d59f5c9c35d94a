// Row writes of the cursor engine on the embedded engine, and pessimistic row locks.
#include "ado/error_numbers.h"
#include "ado/providers/sqlite/bind.h"
#include "ado/providers/sqlite/result_reader.h"
#include "ado/providers/sqlite/sqlite_errors.h"
#include "ado/providers/sqlite/sqlite_session.h"

namespace ado::sqlite {

std::string QuoteIdentifier(std::string_view name) {
    std::string out = "\"";
    for (char c : name) {
        if (c == '"') out += '"';
        out += c;
    }
    return out + "\"";
}

namespace {

StatementKind KindOf(cursor::RowWrite::Kind k) {
    switch (k) {
        case cursor::RowWrite::Kind::Insert: return StatementKind::Insert;
        case cursor::RowWrite::Kind::Update: return StatementKind::Update;
        case cursor::RowWrite::Kind::Delete: return StatementKind::Delete;
    }
    return StatementKind::Other;
}

}  // namespace

int64_t SqliteSession::Write(const cursor::RowWrite& w, std::vector<Variant>* readBack) {
    const cursor::WriteSql sql = cursor::BuildWriteSql(w, QuoteIdentifier);
    sqlite3_stmt* stmt = statements_.Get(db_, sql.text);
    for (size_t i = 0; i < sql.parameters.size(); ++i) BindVariant(stmt, static_cast<int>(i + 1), sql.parameters[i]);
    const int rc = sqlite3_step(stmt);
    sqlite3_reset(stmt);
    if (rc != SQLITE_DONE) ThrowEngineError(db_, KindOf(w.kind));
    const int64_t changed = sqlite3_changes(db_);
    if (w.kind == cursor::RowWrite::Kind::Insert && readBack && !w.readBack.empty()) {
        std::string select = "SELECT ";
        for (size_t i = 0; i < w.readBack.size(); ++i) select += (i ? ", " : "") + QuoteIdentifier(w.readBack[i]);
        select += " FROM " + QuoteIdentifier(w.table) + " WHERE rowid = ?1";
        sqlite3_stmt* read = statements_.Get(db_, select);
        sqlite3_bind_int64(read, 1, sqlite3_last_insert_rowid(db_));
        cursor::RowStore row;
        const int first = sqlite3_step(read);
        DescribeColumns(db_, read, row);
        ReadRows(db_, read, first, row);
        sqlite3_reset(read);
        readBack->clear();
        for (size_t c = 0; c < row.ColumnCount() && row.RowCount() == 1; ++c) readBack->push_back(row.Get(0, c));
    }
    return changed;
}

void SqliteSession::Lock(const cursor::RowWrite& row) {
    if (locked_) return;
    if (level_ == 0) {
        // An immediate transaction takes the file's write lock now, not at the first write.
        Run("BEGIN IMMEDIATE");
        locked_ = true;
        ownsLockTransaction_ = true;
        return;
    }
    // Inside the client's transaction: touch the row so the write lock is taken.
    cursor::RowWrite touch = row;
    touch.kind = cursor::RowWrite::Kind::Update;
    touch.setColumns = {row.whereColumns.front()};
    touch.setValues = {row.whereValues.front()};
    Write(touch, nullptr);
    locked_ = true;
    ownsLockTransaction_ = false;
}

void SqliteSession::Unlock(bool keepChanges) {
    if (!locked_) return;
    locked_ = false;
    if (ownsLockTransaction_) Run(keepChanges ? "COMMIT" : "ROLLBACK");
}

}  // namespace ado::sqlite
