// Row writes of the cursor engine on the embedded engine, and pessimistic record locks.
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

int64_t SqliteSession::RunWrite(const cursor::RowWrite& w, WriteStatements& ws, std::vector<Variant>* readBack) {
    sqlite3_stmt* stmt = ws.write.get();
    // Parameters in the order the statement names them: SET values, then non-Null criteria.
    // The values outlive the step, so they are bound without a copy.
    int index = 1;
    if (w.cells)
        for (size_t column : w.Shape().origin.setFields) BindCell(stmt, index++, *w.cells, w.cellRow, column);
    else
        for (const Variant* v : w.setValues) BindVariant(stmt, index++, *v, false);
    const auto& isNull = w.Shape().whereIsNull;
    for (size_t i = 0; i < w.whereValues.size(); ++i)
        if (!isNull[i]) BindVariant(stmt, index++, w.WhereValue(i), false);
    const int rc = sqlite3_step(stmt);
    sqlite3_reset(stmt);
    if (rc != SQLITE_DONE) ThrowEngineError(db_, KindOf(w.kind()));
    const int64_t changed = sqlite3_changes(db_);
    if (w.kind() != cursor::RowWrite::Kind::Insert || !readBack) return changed;
    readBack->clear();
    const int64_t rowid = sqlite3_last_insert_rowid(db_);
    if (ws.readBack) {
        sqlite3_stmt* read = ws.readBack.get();
        sqlite3_bind_int64(read, 1, rowid);
        cursor::RowStore& row = ws.readBackRow;
        row.Clear();
        ReadRows(db_, read, sqlite3_step(read), row);
        sqlite3_reset(read);
        for (size_t c = 0; c < row.ColumnCount() && row.RowCount() == 1; ++c) readBack->push_back(row.Get(0, c));
    }
    if (w.Shape().readBackIdentity) readBack->emplace_back(rowid);
    return changed;
}

namespace {

constexpr const char* kRowSavepoint = "brezal_fila";

}  // namespace

int64_t SqliteSession::GuardedWrite(const cursor::RowWrite& w, WriteStatements& ws) {
    Run(std::string("SAVEPOINT ") + kRowSavepoint);
    auto undo = [&] {
        const std::string sp = kRowSavepoint;
        sqlite3_exec(db_, ("ROLLBACK TO " + sp + "; RELEASE " + sp).c_str(), nullptr, nullptr, nullptr);
    };
    int64_t changed = 0;
    try {
        changed = RunWrite(w, ws, nullptr);
    } catch (...) {
        undo();
        throw;
    }
    if (changed > 1) {
        undo();
        Raise(Condition::TooManyRows);
    }
    Run(std::string("RELEASE ") + kRowSavepoint);
    return changed;
}

std::vector<uint64_t> SqliteSession::RecordsOf(const cursor::RowWrite& w, const RecordLocks::Table& table) {
    if (w.Shape().byIdentity) return {RecordLocks::RecordByIdentity(table, w.WhereValue(0).ToInt64())};
    // The rows the criteria find, by their rowids.
    cursor::WriteShape find = w.Shape();
    find.kind = cursor::RowWrite::Kind::Delete;
    find.setColumns.clear();
    const std::string where = cursor::BuildWriteText(find, QuoteIdentifier).substr(("DELETE FROM " +
                                                                                  QuoteIdentifier(find.table)).size());
    sqlite3_stmt* raw = nullptr;
    const std::string sql = "SELECT _rowid_ FROM " + QuoteIdentifier(find.table) + where;
    std::vector<uint64_t> records;
    if (sqlite3_prepare_v2(db_, sql.c_str(), static_cast<int>(sql.size()), &raw, nullptr) != SQLITE_OK) {
        // A table without rowid: its record is its key, as the criteria give it.
        std::string key;
        for (const Variant* v : w.whereValues) key += (v->IsNull() ? std::string("\x01") : v->ToString()) + '\0';
        return {RecordLocks::RecordByKey(table, key)};
    }
    const CompiledStatement stmt(raw);
    int index = 1;
    for (size_t i = 0; i < w.whereValues.size(); ++i)
        if (!w.Shape().whereIsNull[i]) BindVariant(raw, index++, w.WhereValue(i), false);
    int rc;
    while ((rc = sqlite3_step(raw)) == SQLITE_ROW)
        records.push_back(RecordLocks::RecordByIdentity(table, sqlite3_column_int64(raw, 0)));
    if (rc != SQLITE_DONE) ThrowEngineError(db_);
    return records;
}

int64_t SqliteSession::Write(const cursor::RowWrite& w, std::vector<Variant>* readBack) {
    WriteStatements& ws = WriteStatementsFor(w);
    if (w.kind() == cursor::RowWrite::Kind::Insert) return RunWrite(w, ws, readBack);
    if (!ws.lockTable) ws.lockTable = &locks_.For(w.table());
    RecordLocks::Table& table = *ws.lockTable;
    std::vector<uint64_t> records;
    struct End {
        sqlite3* db;
        RecordLocks& locks;
        const std::vector<uint64_t>& records;
        ~End() {
            locks.Drop(records);
            // Outside a transaction nothing is left to cover: also when the write failed
            // before its statement began one (the engine's hooks see only transactions).
            if (sqlite3_get_autocommit(db)) locks.TransactionEnded();
        }
    } end{db_, locks_, records};
    if (!locks_.WritesUnchecked(table)) {
        // Somebody edits rows of this table: this row's record is taken for the statement.
        std::vector<uint64_t> found = RecordsOf(w, table);
        locks_.Take(found, busyTimeoutMs_);  // all or none
        records = std::move(found);
    }
    return w.Shape().singleRow ? RunWrite(w, ws, nullptr) : GuardedWrite(w, ws);
}

uint64_t SqliteSession::Lock(const cursor::RowWrite& row) {
    RecordLocks::Table& table = locks_.For(row.table());
    std::vector<uint64_t> records = RecordsOf(row, table);
    locks_.Hold(table, records, busyTimeoutMs_);
    held_.emplace(++lastLockId_, HeldRecords{&table, std::move(records)});
    return lastLockId_;
}

void SqliteSession::Unlock(uint64_t lock) {
    const auto it = held_.find(lock);
    if (it == held_.end()) return;
    locks_.Release(*it->second.table, it->second.records);
    held_.erase(it);
}

}  // namespace ado::sqlite
