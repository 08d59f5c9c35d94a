// A session on a server engine through an ODBC driver: one connection handle, auto-commit
// until BeginTrans, nested levels as savepoints, rows read in blocks into the cursor engine.
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
    void Lock(const cursor::RowWrite& row) override;
    void Unlock(bool keepChanges) override;

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
    bool locked_ = false;
    bool ownsLockTransaction_ = false;
    KeyCache keys_{SQL_NULL_HANDLE};
    std::unordered_map<std::string, SQLSMALLINT> columnTypes_;  // "table\x1fcolumn" as results described them
    ParameterSet parameters_;
    StatementCache statements_;
};

}  // namespace ado::odbc
