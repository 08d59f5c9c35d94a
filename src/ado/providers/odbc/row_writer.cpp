// Row writes of the cursor engine through ODBC, and the row locks of pessimistic editing.
#include "ado/providers/odbc/odbc_session.h"

#include "ado/providers/odbc/parameter_arrays.h"

namespace ado::odbc {

namespace {

Operation OperationOf(cursor::RowWrite::Kind k) {
    switch (k) {
        case cursor::RowWrite::Kind::Insert: return Operation::Insert;
        case cursor::RowWrite::Kind::Update: return Operation::Update;
        case cursor::RowWrite::Kind::Delete: return Operation::Delete;
    }
    return Operation::Other;
}

// The insert with the clause that returns the written row (defaults, serials, identities).
void AddReadBack(std::string& sql, const cursor::WriteShape& shape, const Dialect& d) {
    std::string columns;
    for (const auto& c : shape.readBack) {
        if (!columns.empty()) columns += ", ";
        if (d.readBack == ReadBack::Output) columns += "INSERTED.";
        columns += d.quote(c);
    }
    if (d.readBack == ReadBack::Returning) {
        sql += " RETURNING " + columns;
        return;
    }
    size_t at = sql.find(") VALUES (");
    at = at == std::string::npos ? sql.find(" DEFAULT VALUES") : at + 1;
    sql.insert(at, " OUTPUT " + columns);
}

constexpr size_t kArrayRows = 1000;  // rows per execution of a parameter array
// Fewer rows go one by one: little is gained, and a failed chunk's replay would draw a second
// serial for each of its rows.
constexpr size_t kMinArrayRows = 16;
constexpr std::string_view kArraySavepoint = "brezal_rows";

}  // namespace

std::vector<SQLSMALLINT> OdbcSession::ParameterTypes(const cursor::WriteShape& shape) const {
    std::vector<SQLSMALLINT> types;
    auto typeOf = [&](const std::string& column) {
        const auto it = columnTypes_.find(shape.table + '\x1f' + column);
        return it == columnTypes_.end() ? SQLSMALLINT{0} : it->second;
    };
    for (const auto& c : shape.setColumns) types.push_back(typeOf(c));
    for (size_t i = 0; i < shape.whereColumns.size(); ++i)
        if (!shape.whereIsNull[i]) types.push_back(typeOf(shape.whereColumns[i]));
    return types;
}

int64_t OdbcSession::RunPrepared(const std::string& sql, const std::vector<Variant>& parameters,
                                 const std::vector<SQLSMALLINT>& columnTypes, Operation op, cursor::RowStore* result) {
    PreparedStatement& p = statements_.Get(dbc_.get(), sql, context_);
    SQLHSTMT h = p.stmt.get();
    // Writes wait for other connections' locks as long as the connection's time limit.
    SetTimeout(h, p.timeout, connectionTimeout_);
    p.parameters.Bind(h, parameters, fetch_.narrowUtf8, context_, &columnTypes);
    const SQLRETURN rc = SQLExecute(h);
    if (rc == SQL_ERROR || rc == SQL_INVALID_HANDLE) ThrowDiagnostics(SQL_HANDLE_STMT, h, context_, op, true);
    if (!result) {
        SQLLEN count = 0;
        if (rc == SQL_NO_DATA || !Succeeded(SQLRowCount(h, &count))) count = 0;
        SQLFreeStmt(h, SQL_CLOSE);
        return std::max<SQLLEN>(count, 0);
    }
    if (!p.reader) {
        p.columns = DescribeResult(h, context_, nullptr);
        p.reader = std::make_unique<ResultReader>(h, p.columns, fetch_, context_);
    }
    for (const auto& d : p.columns) result->Columns().push_back(d.info);
    p.reader->ReadAll(*result);
    SQLFreeStmt(h, SQL_CLOSE);
    return static_cast<int64_t>(result->RowCount());
}

int64_t OdbcSession::Write(const cursor::RowWrite& w, std::vector<Variant>* readBack) {
    if (w.kind() != cursor::RowWrite::Kind::Insert && !w.Shape().singleRow) return GuardedWrite(w);
    return PlainWrite(w, readBack);
}

template <class Body>
void OdbcSession::Undoable(std::string_view savepoint, Body&& body) {
    const bool own = level_ == 0;
    const std::string name(savepoint);
    if (own) SetAutocommit(false);
    else RunStatement(std::string(dialect_->savepoint) + name);
    auto end = [&](bool keep) {
        if (own) return EndTransaction(keep);
        if (!keep) RunStatement(std::string(dialect_->rollbackTo) + name);
        if (!dialect_->release.empty()) RunStatement(std::string(dialect_->release) + name);
    };
    bool keep = false;
    try {
        keep = body();
    } catch (...) {
        try {
            end(false);
        } catch (const Error&) {
        }
        throw;
    }
    end(keep);
}

int64_t OdbcSession::GuardedWrite(const cursor::RowWrite& w) {
    int64_t written = 0;
    Undoable("brezal_fila", [&] {
        written = PlainWrite(w, nullptr);
        return written <= 1;
    });
    if (written > 1) Raise(Condition::TooManyRows);
    return written;
}

int64_t OdbcSession::PlainWrite(const cursor::RowWrite& w, std::vector<Variant>* readBack) {
    cursor::WriteSql sql = cursor::BuildWriteSql(w, dialect_->quote);
    // Engines without a returning clause leave the read-back to the cursor's own values.
    const bool returning = readBack && w.kind() == cursor::RowWrite::Kind::Insert && !w.Shape().readBack.empty() &&
                           dialect_->readBack != ReadBack::None;
    const std::vector<SQLSMALLINT> types = ParameterTypes(w.Shape());
    if (!returning) return RunPrepared(sql.text, sql.parameters, types, OperationOf(w.kind()), nullptr);
    AddReadBack(sql.text, w.Shape(), *dialect_);
    cursor::RowStore row;
    const int64_t written = RunPrepared(sql.text, sql.parameters, types, Operation::Insert, &row);
    readBack->clear();
    for (size_t c = 0; c < row.ColumnCount() && row.RowCount() == 1; ++c) readBack->push_back(row.Get(0, c));
    return written;
}

// The prepared insert of one shape with its parameter arrays, kept while a batch goes on.
struct OdbcSession::ArrayStatement {
    std::string sql;
    ParameterArrays parameters;
    Handle stmt;  // freed before the buffers it was bound to
    std::vector<DescribedColumn> columns;
    std::unique_ptr<ResultReader> reader;
};

void OdbcSession::WriteOne(const cursor::RowWrite& w, WriteOutcome& outcome) {
    try {
        outcome.affected = Write(w, &outcome.readBack);
    } catch (const Error& e) {
        outcome.error = std::make_unique<Error>(e);
    }
}

void OdbcSession::WriteRows(std::span<const cursor::RowWrite> writes, std::vector<WriteOutcome>& outcomes) {
    outcomes.clear();
    outcomes.resize(writes.size());
    // Arrays need a transaction to roll a failed chunk back inside.
    const bool arrays = level_ > 0 && !dialect_->savepoint.empty();
    ArrayStatement statement;
    for (size_t i = 0; i < writes.size();) {
        const cursor::RowWrite& w = writes[i];
        size_t end = i + 1;
        if (arrays && w.kind() == cursor::RowWrite::Kind::Insert && !w.setValues.empty())
            for (; end < writes.size() && end - i < kArrayRows; ++end)
                if (writes[end].shape != w.shape && writes[end].Shape().key != w.Shape().key) break;
        const auto chunk = writes.subspan(i, end - i);
        if (chunk.size() < kMinArrayRows || !WriteInsertArray(chunk, &outcomes[i], statement))
            for (size_t r = i; r < end; ++r) WriteOne(writes[r], outcomes[r]);
        i = end;
    }
}

bool OdbcSession::WriteInsertArray(std::span<const cursor::RowWrite> rows, WriteOutcome* outcomes,
                                   ArrayStatement& st) {
    const cursor::RowWrite& first = rows.front();
    cursor::WriteSql sql = cursor::BuildWriteSql(first, dialect_->quote);
    const bool returning = !first.Shape().readBack.empty() && dialect_->readBack != ReadBack::None;
    if (returning) AddReadBack(sql.text, first.Shape(), *dialect_);
    if (st.sql != sql.text || st.stmt.get() == SQL_NULL_HANDLE) {
        st.reader.reset();
        st.columns.clear();
        st.stmt.Reset();
        SQLHANDLE h = SQL_NULL_HANDLE;
        Check(SQLAllocHandle(SQL_HANDLE_STMT, dbc_.get(), &h), SQL_HANDLE_DBC, dbc_.get(), context_);
        st.stmt = Handle(SQL_HANDLE_STMT, h);
        WString text = ToUtf16(sql.text);
        CheckStmt(SQLPrepareW(h, text.data(), static_cast<SQLINTEGER>(text.size())), h, context_, Operation::Insert);
        SQLULEN timeout = 0;
        SetTimeout(h, timeout, connectionTimeout_);
        st.sql = sql.text;
    }
    SQLHSTMT h = st.stmt.get();
    if (!st.parameters.Bind(h, rows, fetch_.narrowUtf8, context_, ParameterTypes(first.Shape()))) return false;

    RunStatement(std::string(dialect_->savepoint) + std::string(kArraySavepoint));
    bool written = false;
    try {
        const SQLRETURN rc = SQLExecute(h);
        if (rc != SQL_ERROR && rc != SQL_INVALID_HANDLE) {
            written = true;
            if (returning) {
                // One result per row: every returned row, in the order of the parameter sets.
                cursor::RowStore back;
                for (SQLRETURN more = rc; more != SQL_NO_DATA; more = SQLMoreResults(h)) {
                    CheckStmt(more, h, context_, Operation::Insert);
                    if (!st.reader) {
                        st.columns = DescribeResult(h, context_, nullptr);
                        st.reader = std::make_unique<ResultReader>(h, st.columns, fetch_, context_);
                    }
                    if (back.Columns().empty())
                        for (const auto& d : st.columns) back.Columns().push_back(d.info);
                    st.reader->ReadAll(back);
                }
                written = back.RowCount() == rows.size();
                for (size_t r = 0; written && r < rows.size(); ++r)
                    for (size_t c = 0; c < back.ColumnCount(); ++c) outcomes[r].readBack.push_back(back.Get(r, c));
            }
        }
    } catch (const Error&) {
        written = false;
    }
    SQLFreeStmt(h, SQL_CLOSE);
    if (!written) {
        for (size_t r = 0; r < rows.size(); ++r) outcomes[r].readBack.clear();
        RunStatement(std::string(dialect_->rollbackTo) + std::string(kArraySavepoint));
    }
    if (!dialect_->release.empty()) RunStatement(std::string(dialect_->release) + std::string(kArraySavepoint));
    if (!written) return false;
    for (size_t r = 0; r < rows.size(); ++r) outcomes[r].affected = 1;  // an insert writes its one row
    return true;
}

cursor::WriteSql OdbcSession::LockStatement(const cursor::RowWrite& row, std::vector<SQLSMALLINT>& types) const {
    cursor::WriteShape shape = row.Shape();
    shape.kind = cursor::RowWrite::Kind::Delete;
    shape.setColumns.clear();
    std::vector<Variant> setValues;
    if (dialect_->rowLock == RowLock::Touch) {
        // Writing a key column with its own value takes the engine's row lock anywhere.
        shape.kind = cursor::RowWrite::Kind::Update;
        shape.setColumns = {shape.whereColumns.front()};
        setValues = {row.WhereValue(0)};
    }
    const cursor::RowWrite probe = cursor::MakeWrite(std::move(shape), std::move(setValues), cursor::WhereValuesOf(row));
    cursor::WriteSql sql = cursor::BuildWriteSql(probe, dialect_->quote);
    if (dialect_->rowLock != RowLock::Touch) {
        // The row's WHERE as the write generator builds it, after "DELETE FROM <table>".
        const std::string table = Quote(row.table());
        const std::string where = sql.text.substr(("DELETE FROM " + table).size());
        sql.text = dialect_->rowLock == RowLock::ForUpdate
                       ? "SELECT 1 FROM " + table + where + " FOR UPDATE"
                       : "SELECT 1 FROM " + table + " WITH (UPDLOCK, ROWLOCK)" + where;
    }
    types = ParameterTypes(probe.Shape());
    return sql;
}

std::unique_ptr<OdbcSession> OdbcSession::LockConnection() {
    if (idleLockConnections_.empty()) return std::make_unique<OdbcSession>(connectionString_, request_, context_);
    std::unique_ptr<OdbcSession> holder = std::move(idleLockConnections_.back());
    idleLockConnections_.pop_back();
    return holder;
}

uint64_t OdbcSession::Lock(const cursor::RowWrite& row) {
    const uint64_t id = ++lastLockId_;
    if (row.Shape().whereColumns.empty()) {
        locks_.emplace(id, nullptr);
        return id;
    }
    std::vector<SQLSMALLINT> types;
    const cursor::WriteSql sql = LockStatement(row, types);
    if (level_ > 0) {
        // Inside the client's transaction the lock is the transaction's: it lasts until it ends.
        RunPrepared(sql.text, sql.parameters, types, Operation::Other, nullptr);
        locks_.emplace(id, nullptr);
        return id;
    }
    std::unique_ptr<OdbcSession> holder = LockConnection();
    holder->BeginTrans();
    try {
        holder->RunPrepared(sql.text, sql.parameters, types, Operation::Other, nullptr);
    } catch (...) {
        try {
            holder->RollbackTrans();
            idleLockConnections_.push_back(std::move(holder));
        } catch (const Error&) {
        }
        throw;
    }
    locks_.emplace(id, std::move(holder));
    return id;
}

int64_t OdbcSession::WriteLocked(uint64_t lock, const cursor::RowWrite& w, std::vector<Variant>* readBack) {
    const auto it = locks_.find(lock);
    if (it == locks_.end() || !it->second) return Write(w, readBack);
    if (level_ > 0) {
        // A transaction the client began during the edit: the write is the transaction's, on
        // this connection, once the lock connection has let the row go.
        std::unique_ptr<OdbcSession> holder = std::move(it->second);
        holder->RollbackTrans();
        idleLockConnections_.push_back(std::move(holder));
        return Write(w, readBack);
    }
    OdbcSession& holder = *it->second;
    holder.columnTypes_ = columnTypes_;  // how this session's results typed the columns
    int64_t written = 0;
    // A failed write must not end the lock connection's transaction (and with it the lock).
    holder.Undoable("brezal_edicion", [&] {
        written = holder.Write(w, readBack);
        return true;
    });
    return written;
}

void OdbcSession::Unlock(uint64_t lock) {
    const auto it = locks_.find(lock);
    if (it == locks_.end()) return;
    std::unique_ptr<OdbcSession> holder = std::move(it->second);
    locks_.erase(it);
    if (!holder) return;  // the client's transaction holds it
    holder->CommitTrans();  // keeps what the edit wrote, and lets the row go
    idleLockConnections_.push_back(std::move(holder));
}

}  // namespace ado::odbc
