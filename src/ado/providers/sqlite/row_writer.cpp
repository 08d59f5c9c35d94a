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

SqliteSession::CompiledStatement Prepared(sqlite3* db, const std::string& sql) {
    sqlite3_stmt* stmt = nullptr;
    if (sqlite3_prepare_v2(db, sql.c_str(), static_cast<int>(sql.size()), &stmt, nullptr) != SQLITE_OK)
        ThrowEngineError(db, KindOf(sql));
    return SqliteSession::CompiledStatement(stmt);
}

StatementKind KindOf(cursor::RowWrite::Kind k) {
    switch (k) {
        case cursor::RowWrite::Kind::Insert: return StatementKind::Insert;
        case cursor::RowWrite::Kind::Update: return StatementKind::Update;
        case cursor::RowWrite::Kind::Delete: return StatementKind::Delete;
    }
    return StatementKind::Other;
}

}  // namespace

SqliteSession::WriteStatements& SqliteSession::WriteStatementsFor(const cursor::RowWrite& w) {
    // Rows of a batch mostly share one shape object: it is checked before the map.
    if (lastWrite_ && w.shape == lastShape_) return *lastWrite_;
    auto it = writeStatements_.find(w.Shape().key);
    if (it == writeStatements_.end()) {
        if (writeStatements_.size() >= 256) ForgetWriteStatements();
        it = writeStatements_.emplace(w.Shape().key, NewWriteStatements(w.Shape())).first;
    }
    lastShape_ = w.shape;
    lastWrite_ = &it->second;
    return it->second;
}

void SqliteSession::ForgetWriteStatements() {
    lastShape_.reset();
    lastWrite_ = nullptr;
    writeStatements_.clear();
}

SqliteSession::WriteStatements SqliteSession::NewWriteStatements(const cursor::WriteShape& shape) {
    WriteStatements ws;
    ws.write = Prepared(db_, cursor::BuildWriteText(shape, QuoteIdentifier));
    if (!shape.readBack.empty()) {
        std::string select = "SELECT ";
        for (size_t i = 0; i < shape.readBack.size(); ++i) select += (i ? ", " : "") + QuoteIdentifier(shape.readBack[i]);
        select += " FROM " + QuoteIdentifier(shape.table) + " WHERE rowid = ?1";
        ws.readBack = Prepared(db_, select);
        std::vector<cursor::ColumnInfo> columns(shape.readBack.size());
        for (size_t i = 0; i < columns.size(); ++i) columns[i].type = shape.readBackTypes[i];
        ws.readBackRow = cursor::RowStore(std::move(columns));
    }
    return ws;
}

int64_t SqliteSession::Write(const cursor::RowWrite& w, std::vector<Variant>* readBack) {
    WriteStatements& ws = WriteStatementsFor(w);
    sqlite3_stmt* stmt = ws.write.get();
    // Parameters in the order the statement names them: SET values, then non-Null criteria.
    // The values outlive the step, so they are bound without a copy.
    int index = 1;
    for (const Variant* v : w.setValues) BindVariant(stmt, index++, *v, false);
    const auto& isNull = w.Shape().whereIsNull;
    for (size_t i = 0; i < w.whereValues.size(); ++i)
        if (!isNull[i]) BindVariant(stmt, index++, w.WhereValue(i), false);
    const int rc = sqlite3_step(stmt);
    sqlite3_reset(stmt);
    if (rc != SQLITE_DONE) ThrowEngineError(db_, KindOf(w.kind()));
    const int64_t changed = sqlite3_changes(db_);
    if (w.kind() == cursor::RowWrite::Kind::Insert && readBack && ws.readBack) {
        sqlite3_stmt* read = ws.readBack.get();
        sqlite3_bind_int64(read, 1, sqlite3_last_insert_rowid(db_));
        cursor::RowStore& row = ws.readBackRow;
        row.Clear();
        ReadRows(db_, read, sqlite3_step(read), row);
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
    cursor::WriteShape shape = row.Shape();
    shape.kind = cursor::RowWrite::Kind::Update;
    shape.setColumns = {shape.whereColumns.front()};
    Write(cursor::MakeWrite(std::move(shape), {row.WhereValue(0)}, cursor::WhereValuesOf(row)), nullptr);
    locked_ = true;
    ownsLockTransaction_ = false;
}

void SqliteSession::Unlock(bool keepChanges) {
    if (!locked_) return;
    locked_ = false;
    if (ownsLockTransaction_) Run(keepChanges ? "COMMIT" : "ROLLBACK");
}

}  // namespace ado::sqlite
