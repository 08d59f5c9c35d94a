// A session of the embedded engine: one database file, opened with its password.
//
// Row writes (Write) reach one row: through its identity when the cursor read it, otherwise
// they are guarded against changing several rows. Pessimistic edits lock one record through
// RecordLocks (record_locks.h), never through a transaction; updates and deletes written by
// the cursor wait for records other connections hold. Plain SQL run through Execute does not
// look at record locks.
#pragma once

#include <array>
#include <memory>
#include <unordered_map>
#include <string>

#include <sqlcipher/sqlite3.h>

#include "ado/provider.h"
#include "ado/providers/sqlite/dialect/access_dialect.h"
#include "ado/providers/sqlite/engine_statement.h"
#include "ado/providers/sqlite/file_use_lock.h"
#include "ado/providers/sqlite/session_schema.h"
#include "ado/providers/sqlite/record_locks.h"
#include "ado/providers/sqlite/row_writer.h"
#include "ado/providers/sqlite/statement_cache.h"

namespace ado::sqlite {

class SqliteSession : public provider::Session {
public:
    explicit SqliteSession(const provider::OpenRequest& request);
    ~SqliteSession() override;

    int64_t Execute(const provider::Statement& statement, cursor::RowStore& rows) override;
    // Statement text compiles once; lone names, query definitions and statements on other
    // files are left to Execute (nullptr).
    std::unique_ptr<provider::PreparedStatement> Prepare(const provider::Statement& statement) override;
    int32_t BeginTrans() override;
    void CommitTrans() override;
    void RollbackTrans() override;
    int32_t TransactionLevel() const override { return level_; }
    std::vector<provider::ParameterInfo> DescribeParameters(const provider::Statement& statement) override;
    int64_t Write(const cursor::RowWrite& write, std::vector<Variant>* readBack) override;
    bool BindsStoreCells() const override { return true; }
    uint64_t Lock(const cursor::RowWrite& row) override;
    void Unlock(uint64_t lock) override;
    void PropertyWritten(std::string_view name, const Variant& value) override;
    std::vector<std::pair<std::string, Variant>> DynamicProperties() const override;

    sqlite3* Handle() const { return db_; }
    // A translation against the file's schema, kept until the schema changes.
    std::shared_ptr<const Translation> Translate(const std::string& accessSql,
                                                 RowIdentity identity = RowIdentity::Without);
    // Writes every stored query that is also a view again from its Access text.
    void RebuildStoredViews();
    const std::string& Path() const { return path_; }

private:
    // Opens the file with key, or plain when key does not open it; returns the key used.
    std::string OpenFile(const std::string& key);
    void CloseFile();
    // Finalizes every compiled statement of the file, those prepared commands hold included,
    // so that the engine really lets go of the file when it closes.
    void ForgetStatements();
    void Run(const std::string& sql);  // a statement without rows or parameters
    bool IsTableOrView(std::string_view name);
    int64_t RunTranslated(const std::string& accessSql, const provider::Statement& st, cursor::RowStore& rows);
    // While it lives, the engine's relationship checks are off (when `off`); outside a
    // transaction only.
    class RelationshipChecksOff {
    public:
        RelationshipChecksOff(SqliteSession& session, bool off);
        ~RelationshipChecksOff();
        RelationshipChecksOff(const RelationshipChecksOff&) = delete;
        RelationshipChecksOff& operator=(const RelationshipChecksOff&) = delete;

    private:
        SqliteSession* session_;
    };
    void RequireRelationshipsHold();  // every row of every relationship has its related row
    // The Access text a statement runs: a stored query's, a table's SELECT, or its own.
    std::string AccessText(const provider::Statement& st);
    // The translation of an Access text in which names that are no column are parameters,
    // as the Access engine reads them; `implicit` receives those names. The reference stays
    // valid until the next call. When a new text had to be compiled to learn its names and
    // compiled as it runs, `compiled` receives that statement, so that it is not compiled twice.
    const Translation& Resolve(const std::string& accessSql, std::vector<std::string>* implicit = nullptr,
                               RowIdentity identity = RowIdentity::Without, EngineStatement* compiled = nullptr);
    std::shared_ptr<const Translation> CrosstabFor(const Translation& tr, const provider::Statement& st);
    // Forgets translations and column types when another statement changed the schema. The
    // engine's schema version is asked only when the file's header moved (SchemaHeaderMoved)
    // or, with blnAsk, always: after this connection's own schema changes and rollbacks,
    // which the file does not show until they are committed, or never.
    void FollowSchema(bool blnAsk = false);
    // Whether the header bytes that hold the schema cookie (in an encrypted file, the bytes
    // of the page that holds it) differ from the last look: one read of the file through the
    // engine's own handle, without a lock, instead of a statement and its lock per statement.
    bool SchemaHeaderMoved();

    FileUseLock useLock_;  // released after the engine's connection closes (declared first)
    sqlite3* db_ = nullptr;
    StatementCache statements_;
    std::shared_ptr<int> fileLife_;  // replaced on every open of the file; prepared statements watch it
    SessionSchema schema_{db_, [this](const std::string& text) { return ResultTypesOf(text); }};
    std::vector<detail::ValueType> ResultTypesOf(const std::string& accessText);
    std::unordered_map<std::string, std::shared_ptr<const Translation>> translations_;
    std::shared_ptr<const Translation> lastTranslation_;
    EngineStatement schemaVersionQuery_;
    int64_t schemaVersion_ = -1;
    std::array<unsigned char, 16> schemaHeader_{};
    bool schemaHeaderKnown_ = false;
    bool inLog_ = false;  // the file is in the write-ahead log, whose changes its header does not show
public:
    struct Finalizer {
        void operator()(sqlite3_stmt* s) const { sqlite3_finalize(s); }
    };
    using CompiledStatement = std::unique_ptr<sqlite3_stmt, Finalizer>;

private:
    // The compiled statements of each shape of row write, so repeated writes reuse them.
    struct WriteStatements {
        CompiledStatement write;
        CompiledStatement readBack;
        cursor::RowStore readBackRow;  // the row read back, typed as the columns it fills
        RecordLocks::Table* lockTable = nullptr;  // the written table's record locks
    };
    WriteStatements& WriteStatementsFor(const cursor::RowWrite& w);
    WriteStatements NewWriteStatements(const cursor::WriteShape& shape);
    void ForgetWriteStatements();
    // The statement itself, and the insert's read-back.
    int64_t RunWrite(const cursor::RowWrite& w, WriteStatements& ws, std::vector<Variant>* readBack);
    // An update or delete that may find several rows: inside a savepoint, undone when it does.
    int64_t GuardedWrite(const cursor::RowWrite& w, WriteStatements& ws);
    // The record bytes of the rows an update or delete (or a lock probe) finds.
    std::vector<uint64_t> RecordsOf(const cursor::RowWrite& w, const RecordLocks::Table& table);
    std::unordered_map<std::string, WriteStatements> writeStatements_;
    std::shared_ptr<const cursor::WriteShape> lastShape_;  // the shape of the last write, and its statements
    WriteStatements* lastWrite_ = nullptr;
    std::unordered_map<std::string, std::vector<std::string>> implicitParameters_;  // by Access text
    std::string path_;
    std::string user_;  // the user the connection opened as, for CurrentUser()
    RecordLocks locks_;
    struct HeldRecords {
        RecordLocks::Table* table;
        std::vector<uint64_t> records;
    };
    std::unordered_map<uint64_t, HeldRecords> held_;  // by lock id: the pessimistic edits' records
    uint64_t lastLockId_ = 0;
    std::string password_;
    int32_t engineType_ = 5;
    bool exclusive_ = false;
    bool readOnly_ = false;
    int32_t busyTimeoutMs_ = 15000;
    int32_t level_ = 0;
};

}  // namespace ado::sqlite
