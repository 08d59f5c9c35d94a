#include "ado/providers/sqlite/sqlite_session.h"

#include <filesystem>

#include "ado/error_numbers.h"
#include "ado/providers/sqlite/bind.h"
#include "ado/providers/sqlite/dialect/access_dialect.h"
#include "ado/providers/sqlite/result_reader.h"
#include "ado/providers/sqlite/sqlite_errors.h"

namespace ado::sqlite {

namespace {

constexpr std::string_view kPasswordKey = "Jet OLEDB:Database Password";

struct StatementHandle {
    sqlite3_stmt* stmt = nullptr;
    ~StatementHandle() { sqlite3_finalize(stmt); }
};

// A table name in Access's brackets, for text that goes through the dialect translator.
std::string BracketName(std::string_view name) {
    if (name.size() >= 2 && name.front() == '[' && name.back() == ']') return std::string(name);
    return "[" + std::string(name) + "]";
}

}  // namespace

SqliteSession::SqliteSession(const provider::OpenRequest& request) {
    path_ = request.settings.GetOr("Data Source", "");
    password_ = request.settings.GetOr(kPasswordKey, "");
    exclusive_ = (request.mode & adModeShareExclusive) == adModeShareExclusive;
    readOnly_ = request.mode == adModeRead;
    // A zero timeout waits as long as it takes, as ADO's does.
    busyTimeoutMs_ = request.connectionTimeout == 0 ? INT32_MAX : request.connectionTimeout * 1000;
    if (path_.empty()) Raise(Condition::FileNotFound, "(no se indicó Data Source)");
    std::error_code ec;
    if (!std::filesystem::is_regular_file(path_, ec)) Raise(Condition::FileNotFound, "'" + path_ + "'");
    OpenFile(password_);
}

SqliteSession::~SqliteSession() {
    statements_.Clear();
    sqlite3_close_v2(db_);
}

void SqliteSession::OpenFile(const std::string& key) {
    const int flags = (readOnly_ ? SQLITE_OPEN_READONLY : SQLITE_OPEN_READWRITE) | SQLITE_OPEN_FULLMUTEX;
    auto attempt = [&](const std::string& k) {
        statements_.Clear();
        sqlite3_close_v2(db_);
        db_ = nullptr;
        if (sqlite3_open_v2(path_.c_str(), &db_, flags, nullptr) != SQLITE_OK) ThrowEngineError(db_);
        if (!k.empty()) sqlite3_key(db_, k.data(), static_cast<int>(k.size()));
        sqlite3_busy_timeout(db_, busyTimeoutMs_);
        return sqlite3_exec(db_, "SELECT count(*) FROM sqlite_master", nullptr, nullptr, nullptr);
    };
    int rc = attempt(key);
    // A password given for a plain file is accepted and the file opens as it is.
    if (rc == SQLITE_NOTADB && !key.empty()) {
        rc = attempt("");
        if (rc == SQLITE_NOTADB) rc = attempt(key);  // keep the password's failure
    }
    if (rc == SQLITE_NOTADB) {
        sqlite3_close_v2(db_);
        db_ = nullptr;
        Raise(Condition::WrongPassword, "'" + path_ + "'");
    }
    if ((rc & 0xFF) == SQLITE_BUSY) {
        sqlite3_close_v2(db_);
        db_ = nullptr;
        Raise(Condition::ExclusiveUse, "'" + path_ + "'");
    }
    if (rc != SQLITE_OK) ThrowEngineError(db_);
    Run("PRAGMA foreign_keys = ON");
    RegisterAccessFunctions(db_);
    if (exclusive_) {
        // Hold the file's lock for the whole session: other connections are refused.
        Run("PRAGMA locking_mode = EXCLUSIVE");
        try {
            Run("BEGIN EXCLUSIVE");
            Run("COMMIT");
        } catch (const Error&) {
            sqlite3_close_v2(db_);
            db_ = nullptr;
            Raise(Condition::ExclusiveUse, "'" + path_ + "'");
        }
    }
}

void SqliteSession::Run(const std::string& sql) {
    if (sqlite3_exec(db_, sql.c_str(), nullptr, nullptr, nullptr) != SQLITE_OK) ThrowEngineError(db_, KindOf(sql));
}

bool SqliteSession::IsTableOrView(std::string_view name) {
    if (name.size() >= 2 && name.front() == '[' && name.back() == ']') name = name.substr(1, name.size() - 2);
    if (name.empty() || name.find_first_of(" \t\r\n(;'\"") != std::string_view::npos) return false;
    StatementHandle h;
    sqlite3_prepare_v2(db_, "SELECT 1 FROM sqlite_master WHERE type IN ('table','view') AND name = ?1 COLLATE NOCASE",
                       -1, &h.stmt, nullptr);
    sqlite3_bind_text(h.stmt, 1, name.data(), static_cast<int>(name.size()), SQLITE_TRANSIENT);
    return sqlite3_step(h.stmt) == SQLITE_ROW;
}

int64_t SqliteSession::Execute(const provider::Statement& st, cursor::RowStore& rows) {
    switch (st.type) {
        case adCmdTable:
        case adCmdTableDirect:
            if (!IsTableOrView(st.text)) Raise(Condition::TableNotFound, "'" + st.text + "'");
            return RunTranslated("SELECT * FROM " + BracketName(st.text), st, rows);
        case adCmdUnknown:
            if (IsTableOrView(st.text)) return RunTranslated("SELECT * FROM " + BracketName(st.text), st, rows);
            return RunTranslated(st.text, st, rows);
        default: return RunTranslated(st.text, st, rows);
    }
}

int64_t SqliteSession::RunTranslated(const std::string& accessSql, const provider::Statement& st,
                                     cursor::RowStore& rows) {
    const Translation& tr = TranslateAccessSqlCached(accessSql);
    const StatementKind kind = KindOf(tr.sql);
    for (const auto& a : tr.attachments) {
        StatementHandle h;
        sqlite3_prepare_v2(db_, "ATTACH DATABASE ?1 AS ?2 KEY ''", -1, &h.stmt, nullptr);
        sqlite3_bind_text(h.stmt, 1, a.path.c_str(), -1, SQLITE_TRANSIENT);
        sqlite3_bind_text(h.stmt, 2, a.alias.c_str(), -1, SQLITE_TRANSIENT);
        if (sqlite3_step(h.stmt) != SQLITE_DONE) ThrowEngineError(db_);
    }
    struct Detach {
        SqliteSession* s;
        const Translation& tr;
        ~Detach() {
            for (const auto& a : tr.attachments)
                sqlite3_exec(s->db_, ("DETACH DATABASE " + QuoteIdentifier(a.alias)).c_str(), nullptr, nullptr, nullptr);
        }
    } detach{this, tr};

    // The command's time limit interrupts the statement through the progress handler.
    deadline_ = std::chrono::steady_clock::now() + std::chrono::seconds(st.timeoutSeconds);
    if (st.timeoutSeconds > 0)
        sqlite3_progress_handler(db_, 1000, [](void* self) -> int {
            return std::chrono::steady_clock::now() > static_cast<SqliteSession*>(self)->deadline_ ? 1 : 0;
        }, this);
    struct ClearProgress {
        sqlite3* db;
        ~ClearProgress() { sqlite3_progress_handler(db, 0, nullptr, nullptr); }
    } clearProgress{db_};

    StatementHandle h;
    if (sqlite3_prepare_v2(db_, tr.sql.c_str(), static_cast<int>(tr.sql.size()), &h.stmt, nullptr) != SQLITE_OK)
        ThrowEngineError(db_, kind);
    if (!h.stmt) return 0;  // only comments or whitespace
    BindParameters(h.stmt, st.parameters);
    const int first = sqlite3_step(h.stmt);
    if (first != SQLITE_ROW && first != SQLITE_DONE) ThrowEngineError(db_, kind);
    if (sqlite3_column_count(h.stmt) == 0) return sqlite3_changes(db_);
    DescribeColumns(db_, h.stmt, rows);
    ReadRows(db_, h.stmt, first, rows);
    return -1;
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
}

void SqliteSession::PropertyWritten(std::string_view name, const Variant&) {
    if (EqualsNoCase(name, kPasswordKey) || EqualsNoCase(name, "Jet OLEDB:New Database Password"))
        Raise(Condition::NotSupported, "(la contraseña de un archivo abierto se cambia en modo exclusivo)");
}

std::vector<std::pair<std::string, Variant>> SqliteSession::DynamicProperties() const {
    return {{"Jet OLEDB:Engine Type", Variant(engineType_)}, {std::string(kPasswordKey), Variant(password_)}};
}

}  // namespace ado::sqlite
