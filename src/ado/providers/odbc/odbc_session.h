// A session on a server engine through an ODBC driver: one connection handle, auto-commit
// until BeginTrans, nested levels as savepoints, rows read in blocks into the cursor engine.
//
// Pessimistic edits keep the server's own row lock, held by a lock connection of the session
// (a second connection to the same server, opened at the first edit and kept for the next):
// it begins a transaction, locks the row (SELECT ... FOR UPDATE, or the engine's lock hint),
// and the edit's write runs there, inside a savepoint, and is committed when the edit ends.
// Cancelling an edit rolls back only the lock connection's transaction, which holds nothing
// but the lock, so nothing else of the session is undone; the client may begin and end
// transactions meanwhile. An edit that begins inside the client's transaction locks the row
// in that transaction, which keeps the lock until it ends; an edit whose write comes inside a
// transaction begun after it lets the lock connection go and writes in the transaction.
// Updates and deletes of a table without a key (no key column among the criteria) run inside
// a savepoint (or a transaction of their own) and are undone when they change several rows.
// Plain SQL run through Execute is the server's business: the session adds nothing to it.
#pragma once

#include <memory>
#include <span>
#include <string>
#include <unordered_map>
#include <vector>

#include "ado/provider.h"
#include "ado/providers/odbc/dialect.h"
#include "ado/providers/odbc/result_reader.h"
#include "ado/providers/odbc/statement_cache.h"

namespace ado::odbc {

class OdbcSession : public provider::Session {
public:
    // Connects with SQLDriverConnect; `connectionString` is already in the driver's keywords.
    OdbcSession(const std::string& connectionString, const provider::OpenRequest& request, ErrorContext context);
    ~OdbcSession() override;

    int64_t Execute(const provider::Statement& statement, cursor::RowStore& rows) override;
    // Markers of a text as SQLDescribeParam gives them ("Param1", ...); a stored procedure's
    // input parameters by name (SQLProcedureColumns).
    std::vector<provider::ParameterInfo> DescribeParameters(const provider::Statement& statement) override;
    int32_t BeginTrans() override;
    void CommitTrans() override;
    void RollbackTrans() override;
    int32_t TransactionLevel() const override { return level_; }
    int64_t Write(const cursor::RowWrite& write, std::vector<Variant>* readBack) override;
    // Consecutive inserts of one shape go as parameter arrays, each chunk under a savepoint; a
    // chunk that fails is rolled back to it and replayed row by row to find the failing rows.
    // Updates and deletes go one by one (arrays give no count per row).
    void WriteRows(std::span<const cursor::RowWrite> writes, std::vector<WriteOutcome>& outcomes) override;
    uint64_t Lock(const cursor::RowWrite& row) override;
    int64_t WriteLocked(uint64_t lock, const cursor::RowWrite& write, std::vector<Variant>* readBack) override;
    void Unlock(uint64_t lock) override;

    std::vector<std::pair<std::string, Variant>> DynamicProperties() const override {
        return {{"DBMS Name", Variant(dbmsName_)}};
    }

    const std::string& DbmsName() const { return dbmsName_; }
    const std::string& DriverName() const { return driverName_; }
    // Texts as UTF-8 SQL_C_CHAR (drivers known to give UTF-8) or as UTF-16 SQL_C_WCHAR.
    bool NarrowText() const { return fetch_.narrowUtf8; }
    void NarrowText(bool narrowUtf8) { fetch_.narrowUtf8 = narrowUtf8; }

private:
    void Connect(const std::string& connectionString, int32_t timeoutSeconds);
    void ReadFeatures();
    std::string StatementText(const provider::Statement& st) const;
    // After a statement ran on `stmt`: its first result with columns into `rows` (-1), or the
    // records affected.
    int64_t CollectResults(SQLHSTMT stmt, const provider::Statement& st, Operation op, cursor::RowStore& rows);
    std::vector<provider::ParameterInfo> ProcedureParameters(const std::string& name);
    // The input parameters of the procedure in `schema` (any schema when empty: the first
    // one listed); `found` tells whether the procedure was listed at all.
    std::vector<provider::ParameterInfo> ProcedureColumns(const std::string& schema, const std::string& procedure,
                                                          bool& found);
    std::string CurrentSchema();  // "" when the dialect cannot tell
    void SetTimeout(SQLHSTMT stmt, SQLULEN& current, int32_t seconds);
    void RunStatement(const std::string& sql);  // no rows, no parameters
    void SetAutocommit(bool on);
    void EndTransaction(bool commit);  // SQLEndTran, then auto-commit again
    std::string Quote(std::string_view name) const { return dialect_->quote(name); }
    // A prepared row write or lock, run with the connection's time limit as the wait for locks.
    int64_t RunPrepared(const std::string& sql, const std::vector<Variant>& parameters,
                        const std::vector<SQLSMALLINT>& columnTypes, Operation op, cursor::RowStore* result);
    struct ArrayStatement;
    // One chunk of inserts of one shape as a parameter array; false when it was not written
    // (values of mixed kinds, or a failure, rolled back to the chunk's savepoint).
    bool WriteInsertArray(std::span<const cursor::RowWrite> rows, WriteOutcome* outcomes, ArrayStatement& st);
    void WriteOne(const cursor::RowWrite& w, WriteOutcome& outcome);
    int64_t PlainWrite(const cursor::RowWrite& w, std::vector<Variant>* readBack);
    // An update or delete that may find several rows: undone when it does.
    int64_t GuardedWrite(const cursor::RowWrite& w);
    // Runs `body` inside a savepoint of the open transaction (or one transaction of its own):
    // kept when it returns true, undone when it returns false or throws.
    template <class Body>
    void Undoable(std::string_view savepoint, Body&& body);
    // The statement that locks the row the probe's criteria find, and its values.
    cursor::WriteSql LockStatement(const cursor::RowWrite& row, std::vector<SQLSMALLINT>& types) const;
    std::unique_ptr<OdbcSession> LockConnection();  // an idle one, or a new one
    // The SQL types of the columns a write's parameters go to, in BuildWriteSql's order.
    std::vector<SQLSMALLINT> ParameterTypes(const cursor::WriteShape& shape) const;

    Handle dbc_;
    Handle stmt_;  // Execute's statement
    SQLULEN stmtTimeout_ = 0;
    ErrorContext context_;
    const Dialect* dialect_ = nullptr;
    FetchOptions fetch_;
    std::string dbmsName_;
    std::string driverName_;
    bool commitClosesStatements_ = false;
    int32_t connectionTimeout_ = 15;
    int32_t level_ = 0;
    std::string connectionString_;  // for the lock connections
    provider::OpenRequest request_;
    // The pessimistic edits' locks by id: the lock connection holding each, or null for a
    // lock the client's transaction holds.
    std::unordered_map<uint64_t, std::unique_ptr<OdbcSession>> locks_;
    std::vector<std::unique_ptr<OdbcSession>> idleLockConnections_;
    uint64_t lastLockId_ = 0;
    KeyCache keys_{SQL_NULL_HANDLE};
    std::unordered_map<std::string, SQLSMALLINT> columnTypes_;  // "table\x1fcolumn" as results described them
    ParameterSet parameters_;
    StatementCache statements_;
};

}  // namespace ado::odbc
