#include "ado/providers/sqlite/sqlite_session.h"

#include <algorithm>
#include <cctype>
#include <filesystem>

#include "ado/connection_string.h"
#include "ado/error_numbers.h"
#include "ado/providers/sqlite/database_copy.h"
#include "ado/providers/sqlite/dialect/access_dialect.h"
#include "ado/providers/sqlite/prepared_statement.h"
#include "ado/providers/sqlite/row_identity.h"
#include "ado/providers/sqlite/sqlite_errors.h"
#include "ado/providers/sqlite/statement_run.h"
#include "ado/providers/sqlite/stored_queries.h"
#include "ado/providers/sqlite/type_map.h"

namespace ado::sqlite {

namespace {

constexpr std::string_view kPasswordKey = "Jet OLEDB:Database Password";

struct StatementHandle {
    sqlite3_stmt* stmt = nullptr;
    ~StatementHandle() { sqlite3_finalize(stmt); }
};

// A name alone ("Clientes", "[Mis clientes]"), which may name a table or a stored query.
bool IsLoneName(std::string_view text) {
    if (text.size() >= 2 && text.front() == '[' && text.back() == ']')
        return text.find(']') == text.size() - 1;
    return !text.empty() && text.find_first_of(" \t\r\n(;'\"") == std::string_view::npos;
}

// A table name in Access's brackets, for text that goes through the dialect translator.
std::string BracketName(std::string_view name) {
    if (name.size() >= 2 && name.front() == '[' && name.back() == ']') return std::string(name);
    return "[" + std::string(name) + "]";
}

}  // namespace

SqliteSession::SqliteSession(const provider::OpenRequest& request)
    : path_(request.settings.GetOr("Data Source", "")), locks_(path_) {
    password_ = request.settings.GetOr(kPasswordKey, "");
    exclusive_ = (request.mode & adModeShareExclusive) == adModeShareExclusive;
    readOnly_ = request.mode == adModeRead;
    // A zero timeout waits as long as it takes, as ADO's does.
    busyTimeoutMs_ = request.connectionTimeout == 0 ? INT32_MAX : request.connectionTimeout * 1000;
    if (path_.empty()) Raise(Condition::FileNotFound, "(no se indicó Data Source)");
    std::error_code ec;
    if (!std::filesystem::is_regular_file(path_, ec)) Raise(Condition::FileNotFound, "'" + path_ + "'");
    useLock_ = FileUseLock(path_, exclusive_);
    OpenFile(password_);
}

SqliteSession::~SqliteSession() { CloseFile(); }

void SqliteSession::ForgetStatements() {
    fileLife_.reset();
    ForgetWriteStatements();
    statements_.Clear();
    if (db_)
        while (sqlite3_stmt* s = sqlite3_next_stmt(db_, nullptr)) sqlite3_finalize(s);
}

void SqliteSession::CloseFile() {
    ForgetStatements();
    sqlite3_close_v2(db_);
    db_ = nullptr;
}

void SqliteSession::OpenFile(const std::string& key) {
    const int flags = (readOnly_ ? SQLITE_OPEN_READONLY : SQLITE_OPEN_READWRITE) | SQLITE_OPEN_NOMUTEX;
    auto attempt = [&](const std::string& k) {
        CloseFile();
        if (sqlite3_open_v2(path_.c_str(), &db_, flags, nullptr) != SQLITE_OK) ThrowEngineError(db_);
        fileLife_ = std::make_shared<int>(0);
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
        CloseFile();
        Raise(Condition::WrongPassword, "'" + path_ + "'");
    }
    if ((rc & 0xFF) == SQLITE_BUSY) {
        CloseFile();
        Raise(Condition::ExclusiveUse, "'" + path_ + "'");
    }
    if (rc != SQLITE_OK) ThrowEngineError(db_);
    Run("PRAGMA foreign_keys = ON");
    RegisterAccessFunctions(db_);
    // Every end of a transaction ends the unchecked writing of record locks.
    sqlite3_commit_hook(db_, [](void* locks) {
        static_cast<RecordLocks*>(locks)->TransactionEnded();
        return 0;
    }, &locks_);
    sqlite3_rollback_hook(db_, [](void* locks) { static_cast<RecordLocks*>(locks)->TransactionEnded(); }, &locks_);
    if (exclusive_) {
        // Hold the file's lock for the whole session: other connections are refused.
        Run("PRAGMA locking_mode = EXCLUSIVE");
        try {
            Run("BEGIN EXCLUSIVE");
            Run("COMMIT");
        } catch (const Error&) {
            CloseFile();
            Raise(Condition::ExclusiveUse, "'" + path_ + "'");
        }
    }
}

void SqliteSession::Run(const std::string& sql) {
    if (sqlite3_exec(db_, sql.c_str(), nullptr, nullptr, nullptr) != SQLITE_OK) ThrowEngineError(db_, KindOf(sql));
}

bool SqliteSession::IsTableOrView(std::string_view name) {
    if (!IsLoneName(name)) return false;
    if (name.size() >= 2 && name.front() == '[' && name.back() == ']') name = name.substr(1, name.size() - 2);
    StatementHandle h;
    sqlite3_prepare_v2(db_, "SELECT 1 FROM sqlite_master WHERE type IN ('table','view') AND name = ?1 COLLATE NOCASE",
                       -1, &h.stmt, nullptr);
    sqlite3_bind_text(h.stmt, 1, name.data(), static_cast<int>(name.size()), SQLITE_TRANSIENT);
    return sqlite3_step(h.stmt) == SQLITE_ROW;
}

std::string SqliteSession::AccessText(const provider::Statement& st) {
    switch (st.type) {
        case adCmdTable:
        case adCmdTableDirect:
            if (!IsTableOrView(st.text)) Raise(Condition::TableNotFound, "'" + st.text + "'");
            return "SELECT * FROM " + BracketName(st.text);
        case adCmdStoredProc:
            if (auto stored = FindStoredQuery(db_, st.text)) return *stored;
            if (IsTableOrView(st.text)) return "SELECT * FROM " + BracketName(st.text);
            Raise(Condition::ItemNotFound, "(no existe la consulta '" + st.text + "')");
        case adCmdUnknown:
            // Only a lone name can be a stored query or a table; a statement skips the lookups.
            if (!IsLoneName(st.text)) return st.text;
            if (auto stored = FindStoredQuery(db_, st.text)) return *stored;
            if (IsTableOrView(st.text)) return "SELECT * FROM " + BracketName(st.text);
            return st.text;
        default: return st.text;
    }
}

int64_t SqliteSession::Execute(const provider::Statement& st, cursor::RowStore& rows) {
    if (st.type == adCmdText || st.type == adCmdUnknown) {
        auto translate = [](std::string_view access) { return TranslateAccessSql(access).sql; };
        if (auto defined = DefineStoredQuery(db_, st.text, translate)) return *defined;
    }
    return RunTranslated(AccessText(st), st, rows);
}

std::unique_ptr<provider::PreparedStatement> SqliteSession::Prepare(const provider::Statement& st) {
    if (st.type != adCmdText && (st.type != adCmdUnknown || IsLoneName(st.text))) return nullptr;
    if (IsQueryDefinition(st.text)) return nullptr;
    BaseTables baseTables(db_);
    const Translation& tr = Resolve(st.text, nullptr, st.rowIdentity ? &baseTables : nullptr);
    if (!tr.attachments.empty()) return nullptr;
    const StatementKind kind = KindOf(tr.sql);
    sqlite3_stmt* stmt = nullptr;
    if (sqlite3_prepare_v2(db_, tr.sql.c_str(), static_cast<int>(tr.sql.size()), &stmt, nullptr) != SQLITE_OK)
        ThrowEngineError(db_, kind);
    if (!stmt) return nullptr;  // only comments or whitespace
    return std::make_unique<SqlitePreparedStatement>(db_, stmt, fileLife_, kind, tr.placeholders, tr.rowIdentity);
}

namespace {

// The Access text with more names declared as parameters of type Value.
std::string DeclareParameters(const std::string& accessSql, const std::vector<std::string>& names) {
    std::string declared;
    for (const auto& n : names) declared += "[" + n + "] Value, ";
    size_t i = 0;
    while (i < accessSql.size() && std::isspace(static_cast<unsigned char>(accessSql[i]))) ++i;
    if (accessSql.size() - i >= 11 && EqualsNoCase(std::string_view(accessSql).substr(i, 11), "PARAMETERS "))
        return accessSql.substr(0, i + 11) + declared + accessSql.substr(i + 11);
    declared.resize(declared.size() - 2);
    return "PARAMETERS " + declared + "; " + accessSql;
}

}  // namespace

const Translation& SqliteSession::Resolve(const std::string& accessSql, std::vector<std::string>* implicit,
                                          RowIdentitySchema* identity) {
    auto known = implicitParameters_.find(accessSql);
    if (known == implicitParameters_.end()) {
        // Prepare until every unknown name has been taken for a parameter.
        std::vector<std::string> names;
        for (int round = 0; round < 64; ++round) {
            const Translation& tr = TranslateAccessSqlCached(names.empty() ? accessSql : DeclareParameters(accessSql, names));
            StatementHandle h;
            if (sqlite3_prepare_v2(db_, tr.sql.c_str(), -1, &h.stmt, nullptr) == SQLITE_OK) break;
            const std::string message = sqlite3_errmsg(db_);
            constexpr std::string_view kUnknown = "no such column: ";
            if (message.rfind(kUnknown, 0) != 0) break;  // a real error: the run reports it
            names.push_back(message.substr(kUnknown.size()));
        }
        if (implicitParameters_.size() > 512) implicitParameters_.clear();
        known = implicitParameters_.emplace(accessSql, std::move(names)).first;
    }
    if (implicit) *implicit = known->second;
    const std::string& text = known->second.empty() ? accessSql : DeclareParameters(accessSql, known->second);
    return identity ? TranslateAccessSqlCached(text, *identity) : TranslateAccessSqlCached(text);
}

std::vector<provider::ParameterInfo> SqliteSession::DescribeParameters(const provider::Statement& st) {
    std::vector<std::string> implicit;
    const Translation& tr = Resolve(AccessText(st), &implicit);
    std::vector<provider::ParameterInfo> out;
    for (const auto& p : tr.parameters) {
        const bool isImplicit = std::find(implicit.begin(), implicit.end(), p.name.substr(1, p.name.size() - 2)) !=
                                    implicit.end() && p.name.front() == '[';
        if (isImplicit) {
            out.push_back({p.name.substr(1, p.name.size() - 2), adVariant, 0});
            continue;
        }
        const MappedType m = MapDeclaredType(p.type);
        out.push_back({p.name, m.type == adVariant ? adVarWChar : m.type, m.definedSize});
    }
    if (!out.empty()) return out;
    for (const auto& name : tr.placeholders) out.push_back({name, adVariant, 0});
    // Unnamed ? markers come after the named ones, numbered as ADO does.
    StatementHandle h;
    if (sqlite3_prepare_v2(db_, tr.sql.c_str(), -1, &h.stmt, nullptr) == SQLITE_OK && h.stmt)
        for (int i = static_cast<int>(out.size()) + 1; i <= sqlite3_bind_parameter_count(h.stmt); ++i)
            out.push_back({"Param" + std::to_string(i), adVariant, 0});
    return out;
}

int64_t SqliteSession::RunTranslated(const std::string& accessSql, const provider::Statement& st,
                                     cursor::RowStore& rows) {
    BaseTables baseTables(db_);
    const Translation& tr = Resolve(accessSql, nullptr, st.rowIdentity ? &baseTables : nullptr);
    const StatementKind kind = KindOf(tr.sql);
    for (const auto& a : tr.attachments) {
        StatementHandle h;
        sqlite3_prepare_v2(db_, "ATTACH DATABASE ?1 AS ?2 KEY ''", -1, &h.stmt, nullptr);
        sqlite3_bind_text(h.stmt, 1, a.path.c_str(), -1, SQLITE_TRANSIENT);
        sqlite3_bind_text(h.stmt, 2, a.alias.c_str(), -1, SQLITE_TRANSIENT);
        if (sqlite3_step(h.stmt) != SQLITE_DONE) ThrowEngineError(db_);
    }
    struct Detach {
        sqlite3* db;
        std::vector<AttachedFile> files;
        ~Detach() {
            for (const auto& a : files)
                sqlite3_exec(db, ("DETACH DATABASE " + QuoteIdentifier(a.alias)).c_str(), nullptr, nullptr, nullptr);
        }
    } detach{db_, tr.attachments};

    // A prepared command keeps its compiled statement in the cache; others are finalized.
    StatementHandle owned;
    sqlite3_stmt* stmt = nullptr;
    if (st.prepared) {
        stmt = statements_.Get(db_, tr.sql);
    } else {
        if (sqlite3_prepare_v2(db_, tr.sql.c_str(), static_cast<int>(tr.sql.size()), &owned.stmt, nullptr) != SQLITE_OK)
            ThrowEngineError(db_, kind);
        stmt = owned.stmt;
    }
    if (!stmt) return 0;  // only comments or whitespace
    const std::vector<RowIdentityColumn> identity = tr.rowIdentity;
    const int64_t result = RunStatement(db_, stmt, tr.placeholders, st, kind, rows);
    if (result < 0) MarkRowIdentityColumns(rows, identity);
    return result;
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
    OpenFile(key);
    password_ = key;
}

std::vector<std::pair<std::string, Variant>> SqliteSession::DynamicProperties() const {
    return {{"Jet OLEDB:Engine Type", Variant(engineType_)},
            {std::string(kPasswordKey), Variant(password_)},
            {"DBMS Name", Variant("MS Jet")}};
}

}  // namespace ado::sqlite
