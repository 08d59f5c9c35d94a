// How a session runs statements: the Access text each one stands for, its translation
// against the file's schema (names that are no column become parameters, as the Access
// engine reads them), the external files it reaches, and its run.
#include <algorithm>
#include <cctype>

#include "ado/error_numbers.h"
#include "ado/providers/sqlite/dialect/declared_types.h"
#include <fmt/format.h>

#include "ado/providers/sqlite/dialect/sql_tokens.h"
#include "ado/providers/sqlite/journal_mode.h"
#include "ado/providers/sqlite/dialect/value_conversions.h"
#include "ado/providers/sqlite/prepared_statement.h"
#include "ado/providers/sqlite/procedure_call.h"
#include "ado/providers/sqlite/result_reader.h"
#include "ado/providers/sqlite/row_identity.h"
#include "ado/providers/sqlite/sqlite_session.h"
#include "ado/providers/sqlite/statement_run.h"
#include "ado/providers/sqlite/stored_queries.h"

namespace ado::sqlite {

namespace {

// A name alone ("Clientes", "[Mis clientes]"), which may name a table or a stored query.
bool IsLoneName(std::string_view text) {
    if (text.size() >= 2 && text.front() == '[' && text.back() == ']') return text.find(']') == text.size() - 1;
    return !text.empty() && text.find_first_of(" \t\r\n(;'\"") == std::string_view::npos;
}

// A table name in Access's brackets, for text that goes through the dialect translator.
std::string BracketName(std::string_view name) {
    if (name.size() >= 2 && name.front() == '[' && name.back() == ']') return std::string(name);
    return "[" + std::string(name) + "]";
}

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

RowIdentity IdentityOf(const provider::Statement& st) {
    return st.rowIdentity ? RowIdentity::With : RowIdentity::Without;
}

}  // namespace

bool SqliteSession::IsTableOrView(std::string_view name) {
    if (!IsLoneName(name)) return false;
    if (name.size() >= 2 && name.front() == '[' && name.back() == ']') name = name.substr(1, name.size() - 2);
    return QueryText(db_, "SELECT 1 FROM sqlite_master WHERE type IN ('table','view') AND name = ?1 COLLATE NOCASE",
                     {name})
        .has_value();
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
        auto translate = [this](std::string_view access) { return Translate(std::string(access))->sql; };
        if (auto defined = DefineStoredQuery(db_, st.text, translate)) {
            FollowSchema(true);
            return *defined;
        }
        // EXECUTE name values: the stored query, with the values for its declared parameters
        // in the declaration's order (which need not be the order they appear in).
        if (auto call = ReadProcedureCall(st.text)) {
            provider::Statement stored = st;
            stored.type = adCmdStoredProc;
            stored.text = std::move(call->name);
            const std::string text = AccessText(stored);
            stored.parameters = std::move(call->values);
            stored.parameterNames.clear();
            for (const DeclaredParameter& p : Translate(text)->parameters) stored.parameterNames.push_back(p.name);
            return RunTranslated(text, stored, rows);
        }
    }
    return RunTranslated(AccessText(st), st, rows);
}

std::unique_ptr<provider::PreparedStatement> SqliteSession::Prepare(const provider::Statement& st) {
    if (st.type != adCmdText && (st.type != adCmdUnknown || IsLoneName(st.text))) return nullptr;
    if (IsQueryDefinition(st.text) || ReadProcedureCall(st.text)) return nullptr;
    EngineStatement stmt;
    Resolve(st.text, nullptr, IdentityOf(st), &stmt);
    const std::shared_ptr<const Translation> tr = lastTranslation_;
    if (!tr->attachments.empty() || !tr->before.empty() || !tr->after.empty() || tr->crosstab) return nullptr;
    if (!stmt) stmt = EngineStatement(db_, tr->sql, KindOf(tr->sql));
    if (!stmt) return nullptr;  // only comments or whitespace
    return std::make_unique<SqlitePreparedStatement>(db_, stmt.Release(), fileLife_, KindOf(tr->sql), tr);
}

void SqliteSession::RebuildStoredViews() {
    for (const auto& [name, text] : StoredViews(db_)) {
        RunOwn(db_, "DROP VIEW IF EXISTS " + QuoteIdentifier(name));
        FollowSchema(true);
        RunOwn(db_, "CREATE VIEW " + QuoteIdentifier(name) + " AS " + Translate(text)->sql);
    }
    FollowSchema(true);
}

bool SqliteSession::SchemaHeaderMoved() {
    // The schema cookie is at offset 40 of the header; the 16 bytes there change only with the
    // schema (and its format) in a plain file, and whenever page 1 is written in an encrypted one.
    // A file in the write-ahead log shows its changes only when they are copied back into it.
    if (inLog_) return true;
    constexpr int kOffset = 40;
    sqlite3_file* file = nullptr;
    std::array<unsigned char, 16> header{};
    if (sqlite3_file_control(db_, "main", SQLITE_FCNTL_FILE_POINTER, &file) != SQLITE_OK || !file ||
        !file->pMethods || file->pMethods->xRead(file, header.data(), static_cast<int>(header.size()), kOffset) != SQLITE_OK) {
        schemaHeaderKnown_ = false;  // a new, empty file or no handle: ask the engine
        return true;
    }
    if (schemaHeaderKnown_ && header == schemaHeader_) return false;
    schemaHeader_ = header;
    schemaHeaderKnown_ = true;
    return true;
}

void SqliteSession::FollowSchema(bool blnAsk) {
    if (!blnAsk && !SchemaHeaderMoved()) return;
    if (!schemaVersionQuery_) schemaVersionQuery_ = EngineStatement(db_, "PRAGMA schema_version");
    sqlite3_stmt* q = schemaVersionQuery_.get();
    const int64_t version = sqlite3_step(q) == SQLITE_ROW ? sqlite3_column_int64(q, 0) : -1;
    sqlite3_reset(q);
    // Another connection moves the file into the log by writing its header, which brings here.
    if (!inLog_) inLog_ = UsesWriteAheadLog(db_);
    if (version == schemaVersion_) return;
    schemaVersion_ = version;
    translations_.clear();
    implicitParameters_.clear();
    schema_.Forget();
}

std::shared_ptr<const Translation> SqliteSession::Translate(const std::string& accessSql, RowIdentity identity) {
    // The two translations of a text are kept apart: one key starts with a byte no text has.
    std::string key = identity == RowIdentity::With ? '\0' + accessSql : accessSql;
    if (auto found = translations_.find(key); found != translations_.end()) return found->second;
    auto tr = std::make_shared<const Translation>(TranslateAccessSql(accessSql, schema_, identity));
    if (translations_.size() >= 256) translations_.clear();
    translations_.emplace(std::move(key), tr);
    return tr;
}

std::vector<detail::ValueType> SqliteSession::ResultTypesOf(const std::string& accessText) {
    std::vector<detail::ValueType> types;
    for (const ResultColumnType& c : Translate(accessText)->columns)
        types.push_back(detail::ValueType{c.type, c.size, c.precision, c.scale});
    return types;
}

const Translation& SqliteSession::Resolve(const std::string& accessSql, std::vector<std::string>* implicit,
                                          RowIdentity identity, EngineStatement* compiled) {
    FollowSchema();
    auto known = implicitParameters_.find(accessSql);
    if (known == implicitParameters_.end()) {
        // The text as it runs is compiled first: when it compiles, no name is unknown (without
        // the row identity's columns it compiles as well), and the run may take the statement.
        std::vector<std::string> names;
        bool compiles = false;
        if (const auto tr = Translate(accessSql, identity); !tr->crosstab) {
            sqlite3_stmt* asItRuns = nullptr;
            compiles = sqlite3_prepare_v2(db_, tr->sql.c_str(), -1, &asItRuns, nullptr) == SQLITE_OK && asItRuns;
            if (compiles && compiled) *compiled = EngineStatement(db_, asItRuns);
            else sqlite3_finalize(asItRuns);
        }
        // Otherwise compile until every unknown name has been taken for a parameter.
        for (int round = 0; round < 64 && !compiles; ++round) {
            const auto tr = Translate(names.empty() ? accessSql : DeclareParameters(accessSql, names));
            // A crosstab's names are all in its statement with one column.
            const std::string sql = tr->crosstab ? CrosstabStatement(*tr->crosstab, {{"NULL", "x"}}).sql : tr->sql;
            sqlite3_stmt* probe = nullptr;
            const int rc = sqlite3_prepare_v2(db_, sql.c_str(), -1, &probe, nullptr);
            sqlite3_finalize(probe);
            if (rc == SQLITE_OK) break;
            const std::string message = sqlite3_errmsg(db_);
            constexpr std::string_view kUnknown = "no such column: ";
            if (message.rfind(kUnknown, 0) != 0) break;  // a real error: the run reports it
            names.push_back(message.substr(kUnknown.size()));
        }
        // The engine reports unknown names in the order it resolves them; a command's values
        // follow the order they appear in, so the names are listed in that order.
        if (names.size() > 1) {
            const std::vector<std::string>& appearing = Translate(DeclareParameters(accessSql, names))->placeholders;
            auto firstUse = [&](const std::string& name) {
                const auto at = std::find_if(appearing.begin(), appearing.end(),
                                             [&](const std::string& p) { return EqualsNoCase(p, name); });
                return at - appearing.begin();
            };
            std::stable_sort(names.begin(), names.end(),
                             [&](const std::string& a, const std::string& b) { return firstUse(a) < firstUse(b); });
        }
        if (implicitParameters_.size() > 512) implicitParameters_.clear();
        known = implicitParameters_.emplace(accessSql, std::move(names)).first;
    }
    if (implicit) *implicit = known->second;
    lastTranslation_ =
        Translate(known->second.empty() ? accessSql : DeclareParameters(accessSql, known->second), identity);
    return *lastTranslation_;
}

std::vector<provider::ParameterInfo> SqliteSession::DescribeParameters(const provider::Statement& st) {
    std::vector<std::string> implicit;
    const Translation& tr = Resolve(AccessText(st), &implicit);
    std::vector<provider::ParameterInfo> out;
    for (const auto& p : tr.parameters) {
        const bool isImplicit = p.name.front() == '[' &&
                                std::find(implicit.begin(), implicit.end(), p.name.substr(1, p.name.size() - 2)) !=
                                    implicit.end();
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
    for (size_t i = out.size() + 1; i <= tr.parameterTypes.size(); ++i)
        out.push_back({"Param" + std::to_string(i), adVariant, 0});
    return out;
}

namespace {

// A pivot value as the engine holds it, written back as a literal of the engine's.
std::string EngineLiteral(sqlite3_stmt* stmt, int column) {
    switch (sqlite3_column_type(stmt, column)) {
        case SQLITE_NULL: return "NULL";
        case SQLITE_INTEGER: return std::to_string(sqlite3_column_int64(stmt, column));
        case SQLITE_FLOAT: return detail::SerialLiteral(sqlite3_column_double(stmt, column));
        case SQLITE_TEXT:
            return detail::QuoteString(reinterpret_cast<const char*>(sqlite3_column_text(stmt, column)));
        default: {
            const auto* p = static_cast<const uint8_t*>(sqlite3_column_blob(stmt, column));
            std::string hex = "X'";
            for (int i = 0; i < sqlite3_column_bytes(stmt, column); ++i) hex += fmt::format("{:02X}", p[i]);
            return hex + "'";
        }
    }
}

}  // namespace

// A crosstab's statement: its pivot values read first (its columns), then written with them.
std::shared_ptr<const Translation> SqliteSession::CrosstabFor(const Translation& tr, const provider::Statement& st) {
    const CrosstabPlan& plan = *tr.crosstab;
    std::vector<PivotValue> values;
    if (const std::string sql = CrosstabValuesSql(plan); !sql.empty()) {
        EngineStatement query(db_, sql);
        BindStatement(query.get(), tr, st);
        const DataTypeEnum type = CrosstabPivotType(plan);
        while (query.Step()) {
            const bool null = sqlite3_column_type(query.get(), 0) == SQLITE_NULL;
            values.push_back({EngineLiteral(query.get(), 0), null ? "<>" : ReadValue(query.get(), 0, type).ToString()});
        }
    }
    return std::make_shared<const Translation>(CrosstabStatement(plan, values));
}

// A table that others refer to is made again with the engine's relationship checks off (the
// engine would otherwise empty or refuse their rows when it drops the old table); they can be
// switched off only outside a transaction.
SqliteSession::RelationshipChecksOff::RelationshipChecksOff(SqliteSession& session, bool off)
    : session_(off ? &session : nullptr) {
    if (!off) return;
    if (!sqlite3_get_autocommit(session.db_)) Raise(Condition::RelatedTableInTransaction);
    session.Run("PRAGMA foreign_keys = OFF");
}

SqliteSession::RelationshipChecksOff::~RelationshipChecksOff() {
    if (session_) sqlite3_exec(session_->db_, "PRAGMA foreign_keys = ON", nullptr, nullptr, nullptr);
}

void SqliteSession::RequireRelationshipsHold() {
    EngineStatement check(db_, "PRAGMA foreign_key_check");
    if (!check.Step()) return;
    Raise(Condition::IntegrityOnChange, "('" + std::string(check.Text(0)) + "')");
}

int64_t SqliteSession::RunTranslated(const std::string& accessSql, const provider::Statement& st,
                                     cursor::RowStore& rows) {
    EngineStatement compiled;
    Resolve(accessSql, nullptr, IdentityOf(st), &compiled);
    std::shared_ptr<const Translation> tr = lastTranslation_;
    if (tr->crosstab) tr = CrosstabFor(*tr, st);
    const StatementKind kind = KindOf(tr->sql);
    const Attachments attached(db_, tr->attachments);
    // Statements that prepare the main one (SELECT INTO's new table) or complete it (a
    // counter's seed) run with it or not at all.
    const bool together = !tr->before.empty() || !tr->after.empty();
    const RelationshipChecksOff checksOff(*this, tr->remakesRelatedTable);
    if (together) Run("SAVEPOINT brezal_statement");
    try {
        for (const std::string& sql : tr->before) Run(sql);
        // A prepared command keeps its compiled statement in the cache; others are finalized.
        EngineStatement owned;
        sqlite3_stmt* stmt = nullptr;
        if (st.prepared) {
            stmt = statements_.Get(db_, tr->sql);
        } else if (compiled && tr->attachments.empty() && !together) {
            owned = std::move(compiled);
            stmt = owned.get();
        } else {
            owned = EngineStatement(db_, tr->sql, kind);
            stmt = owned.get();
        }
        const int64_t result = stmt ? RunStatement(db_, stmt, *tr, st, kind, rows) : 0;
        if (result < 0) MarkRowIdentityColumns(rows, tr->rowIdentity);
        for (const std::string& sql : tr->after) Run(sql);
        if (tr->remakesRelatedTable) RequireRelationshipsHold();
        if (together) Run("RELEASE brezal_statement");
        if (tr->schemaChange) FollowSchema(true);
        return result;
    } catch (...) {
        if (together) {
            sqlite3_exec(db_, "ROLLBACK TO brezal_statement", nullptr, nullptr, nullptr);
            sqlite3_exec(db_, "RELEASE brezal_statement", nullptr, nullptr, nullptr);
            FollowSchema(true);  // what the statement's first steps made is gone again
        }
        throw;
    }
}

}  // namespace ado::sqlite
