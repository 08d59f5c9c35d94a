#include "ado/providers/sqlite/sqlite_session.h"

#include <algorithm>
#include <cctype>
#include <filesystem>

#include "ado/connection_string.h"
#include "ado/error_numbers.h"
#include "ado/providers/sqlite/database_copy.h"
#include "ado/providers/sqlite/fault_injection.h"
#include "ado/providers/sqlite/file_access.h"
#include "ado/providers/sqlite/domain_aggregates.h"
#include "ado/providers/sqlite/file_format.h"
#include "ado/providers/sqlite/journal_mode.h"
#include "ado/providers/sqlite/text_collation.h"
#include "ado/providers/sqlite/dialect/access_dialect.h"
#include "ado/providers/sqlite/prepared_statement.h"
#include "ado/providers/sqlite/row_identity.h"
#include "ado/providers/sqlite/sqlite_errors.h"
#include "ado/providers/sqlite/statement_run.h"
#include "ado/providers/sqlite/stored_queries.h"
#include "ado/providers/sqlite/dialect/declared_types.h"

namespace ado::sqlite {

namespace {

constexpr std::string_view kPasswordKey = "Jet OLEDB:Database Password";

// How long an opening writer waits for readers of a file in the rollback journal before it
// goes on in that journal.
constexpr int kJournalChangeWaitMs = 1000;

// Access programs list their tables and queries through MSysObjects: a view of the file's own
// schema, made for the connection (never stored in the file), answers them. Type 1 is a table
// and 5 a query; Flags is nonzero for the system's own tables.
constexpr const char* kSystemObjects =
    "CREATE TEMP VIEW IF NOT EXISTS MSysObjects AS SELECT rowid AS Id, name AS Name, "
    "CASE type WHEN 'view' THEN 5 ELSE 1 END AS Type, "
    "CASE WHEN name LIKE 'MSys%' OR name LIKE 'sqlite!_%' ESCAPE '!' THEN -2147483648 ELSE 0 END AS Flags, "
    "0 AS ParentId, NULL AS Connect, NULL AS Database, NULL AS ForeignName, NULL AS DateCreate, "
    "NULL AS DateUpdate FROM main.sqlite_master WHERE type IN ('table', 'view')";

}  // namespace

SqliteSession::SqliteSession(const provider::OpenRequest& request)
    : path_(request.settings.GetOr("Data Source", "")), user_(request.user), locks_(path_) {
    password_ = request.settings.GetOr(kPasswordKey, "");
    exclusive_ = (request.mode & adModeShareExclusive) == adModeShareExclusive;
    readOnly_ = request.mode == adModeRead;
    // A zero timeout waits as long as it takes, as ADO's does.
    busyTimeoutMs_ = request.connectionTimeout == 0 ? INT32_MAX : request.connectionTimeout * 1000;
    if (path_.empty()) Raise(Condition::FileNotFound, "(no se indicó Data Source)");
    if (CheckFileAccess(path_, request.mode)) readOnly_ = true;
    useLock_ = FileUseLock(path_, exclusive_, readOnly_);
    RemoveStaleCopies(path_);
    password_ = OpenFile(password_);
}

SqliteSession::~SqliteSession() { CloseFile(); }

void SqliteSession::ForgetStatements() {
    fileLife_.reset();
    schemaVersionQuery_ = EngineStatement();
    translations_.clear();
    lastTranslation_.reset();
    schemaVersion_ = -1;
    ForgetWriteStatements();
    statements_.Clear();
    if (db_)
        while (sqlite3_stmt* s = sqlite3_next_stmt(db_, nullptr)) sqlite3_finalize(s);
}

void SqliteSession::CloseFile() {
    ForgetStatements();
    if (db_ && !readOnly_ && !exclusive_) {
        if (!sqlite3_get_autocommit(db_)) sqlite3_exec(db_, "ROLLBACK", nullptr, nullptr, nullptr);
        LeaveWriteAheadLog(db_);  // done by the last connection to close
    }
    sqlite3_close_v2(db_);
    db_ = nullptr;
}

std::string SqliteSession::OpenFile(const std::string& key) {
    const int flags = (readOnly_ ? SQLITE_OPEN_READONLY : SQLITE_OPEN_READWRITE) | SQLITE_OPEN_NOMUTEX;
    auto attempt = [&](const std::string& k) {
        CloseFile();
        if (sqlite3_open_v2(path_.c_str(), &db_, flags, nullptr) != SQLITE_OK) ThrowEngineError(db_);
        fileLife_ = std::make_shared<int>(0);
        if (!k.empty()) sqlite3_key(db_, k.data(), static_cast<int>(k.size()));
        sqlite3_busy_timeout(db_, busyTimeoutMs_);
        return sqlite3_exec(db_, "SELECT count(*) FROM sqlite_master", nullptr, nullptr, nullptr);
    };
    std::string used = key;
    int rc = attempt(key);
    // A password given for a plain file is accepted and the file opens as it is.
    if (rc == SQLITE_NOTADB && !key.empty()) {
        used.clear();
        rc = attempt(used);
        if (rc == SQLITE_NOTADB) rc = attempt(used = key);  // keep the password's failure
    }
    if (rc == SQLITE_NOTADB) {
        CloseFile();
        Raise(UnreadableFileCondition(path_, key), "'" + path_ + "'");
    }
    if ((rc & 0xFF) == SQLITE_BUSY) {
        CloseFile();
        Raise(Condition::ExclusiveUse, "'" + path_ + "'");
    }
    if (rc != SQLITE_OK) ThrowEngineError(db_);
    Run("PRAGMA foreign_keys = ON");
    Run(kSystemObjects);
    RegisterAccessFunctions(db_);
    RegisterCurrentUser(db_, user_);
    // Every end of a transaction ends the unchecked writing of record locks (a commit that
    // fails ends in the rollback hook).
    sqlite3_commit_hook(db_, [](void* locks) {
        if (testing::CommitFails()) return 1;
        static_cast<RecordLocks*>(locks)->TransactionEnded();
        return 0;
    }, &locks_);
    testing::InstallFaultChecks(db_);
    sqlite3_rollback_hook(db_, [](void* locks) { static_cast<RecordLocks*>(locks)->TransactionEnded(); }, &locks_);
    RegisterDomainAggregates(db_, *this);
    try {
        RegisterAccessCollation(db_, PrepareFileFormat(db_, path_, !readOnly_));
    } catch (...) {
        CloseFile();
        throw;
    }
    if (exclusive_) {
        if (!LeaveWriteAheadLog(db_)) {
            CloseFile();
            Raise(Condition::ExclusiveUse, "'" + path_ + "'");
        }
        sqlite3_busy_timeout(db_, busyTimeoutMs_);
        // Hold the file's lock for the whole session: other connections are refused.
        Run("PRAGMA locking_mode = EXCLUSIVE");
        try {
            Run("BEGIN EXCLUSIVE");
            Run("COMMIT");
        } catch (const Error&) {
            CloseFile();
            Raise(Condition::ExclusiveUse, "'" + path_ + "'");
        }
    } else if (!readOnly_) {
        EnterWriteAheadLog(db_, path_, std::min(busyTimeoutMs_, kJournalChangeWaitMs));
        sqlite3_busy_timeout(db_, busyTimeoutMs_);
    }
    inLog_ = UsesWriteAheadLog(db_);
    return used;
}

void SqliteSession::Run(const std::string& sql) {
    if (sqlite3_exec(db_, sql.c_str(), nullptr, nullptr, nullptr) != SQLITE_OK) ThrowEngineError(db_, KindOf(sql));
}

int32_t SqliteSession::BeginTrans() {
    Run(level_ == 0 ? std::string("BEGIN") : "SAVEPOINT brezal_" + std::to_string(level_ + 1));
    return ++level_;
}

void SqliteSession::CommitTrans() {
    Run(level_ == 1 ? std::string("COMMIT") : "RELEASE SAVEPOINT brezal_" + std::to_string(level_));
    --level_;
}

void SqliteSession::RollbackTrans() {
    if (level_ == 1) {
        Run("ROLLBACK");
    } else {
        const std::string sp = "brezal_" + std::to_string(level_);
        Run("ROLLBACK TO SAVEPOINT " + sp);
        Run("RELEASE SAVEPOINT " + sp);
    }
    --level_;
    FollowSchema(true);  // schema changes undone here never reach the file
}

void SqliteSession::PropertyWritten(std::string_view name, const Variant& value) {
    // Either password property gives the file its value as the new password (none when empty).
    if (!EqualsNoCase(name, kPasswordKey) && !EqualsNoCase(name, "Jet OLEDB:New Database Password")) return;
    if (!exclusive_ || readOnly_)
        Raise(Condition::NotSupported, "(la contraseña de un archivo abierto se cambia en modo exclusivo)");
    if (level_ > 0) Raise(Condition::IllegalOperation, "(hay una transacción en curso)");
    const std::string key = value.IsNull() || value.IsEmpty() ? std::string() : value.ToString();
    ForgetStatements();
    // A re-encrypted copy replaces the file while this session still holds it; the session
    // then holds the new file, with the new key, exclusively as before.
    ReplaceKey(db_, path_, key);
    password_ = OpenFile(key);
}

std::vector<std::pair<std::string, Variant>> SqliteSession::DynamicProperties() const {
    return {{"Jet OLEDB:Engine Type", Variant(engineType_)},
            {std::string(kPasswordKey), Variant(password_)},
            {"DBMS Name", Variant("MS Jet")}};
}

}  // namespace ado::sqlite
