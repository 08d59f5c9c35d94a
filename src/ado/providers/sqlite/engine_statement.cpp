#include "ado/providers/sqlite/engine_statement.h"

#include "ado/error_numbers.h"
#include "ado/providers/sqlite/file_format.h"
#include "ado/providers/sqlite/row_writer.h"

namespace ado::sqlite {

EngineStatement::EngineStatement(sqlite3* db, std::string_view sql, StatementKind kind) : db_(db) {
    if (sqlite3_prepare_v2(db, sql.data(), static_cast<int>(sql.size()), &stmt_, nullptr) != SQLITE_OK) {
        sqlite3_finalize(stmt_);
        stmt_ = nullptr;
        ThrowEngineError(db, kind);
    }
}

EngineStatement& EngineStatement::operator=(EngineStatement&& other) noexcept {
    if (this != &other) {
        sqlite3_finalize(stmt_);
        db_ = other.db_;
        stmt_ = other.stmt_;
        other.stmt_ = nullptr;
    }
    return *this;
}

sqlite3_stmt* EngineStatement::Release() {
    sqlite3_stmt* s = stmt_;
    stmt_ = nullptr;
    return s;
}

EngineStatement& EngineStatement::BindTexts(std::initializer_list<std::string_view> texts) {
    int i = 1;
    for (std::string_view t : texts)
        if (sqlite3_bind_text(stmt_, i++, t.data(), static_cast<int>(t.size()), SQLITE_TRANSIENT) != SQLITE_OK)
            ThrowEngineError(db_);
    return *this;
}

bool EngineStatement::Step() {
    const int rc = sqlite3_step(stmt_);
    if (rc == SQLITE_ROW) return true;
    if (rc == SQLITE_DONE) return false;
    ThrowEngineError(db_);
}

void RunOwn(sqlite3* db, std::string_view sql, std::initializer_list<std::string_view> texts) {
    EngineStatement s(db, sql);
    if (!s) return;
    s.BindTexts(texts);
    while (s.Step()) {
    }
}

std::optional<std::string> QueryText(sqlite3* db, std::string_view sql, std::initializer_list<std::string_view> texts) {
    EngineStatement s(db, sql);
    s.BindTexts(texts);
    if (!s.Step() || sqlite3_column_type(s.get(), 0) == SQLITE_NULL) return std::nullopt;
    return std::string(reinterpret_cast<const char*>(sqlite3_column_text(s.get(), 0)),
                       static_cast<size_t>(sqlite3_column_bytes(s.get(), 0)));
}

int64_t QueryInteger(sqlite3* db, std::string_view sql) {
    EngineStatement s(db, sql);
    return s.Step() ? sqlite3_column_int64(s.get(), 0) : 0;
}

Attachments::Attachments(sqlite3* db, const std::vector<AttachedFile>& files) : db_(db) {
    try {
        for (const AttachedFile& a : files) {
            // External files are plain: an encrypted one cannot be reached this way.
            RunOwn(db, "ATTACH DATABASE ?1 AS ?2 KEY ''", {a.path, a.alias});
            attached_.push_back(a.alias);
            RequireCurrentFormat(db, a.alias, a.path);
        }
    } catch (...) {
        DetachAll();
        throw;
    }
}

Attachments::~Attachments() { DetachAll(); }

void Attachments::DetachAll() {
    for (auto alias = attached_.rbegin(); alias != attached_.rend(); ++alias)
        sqlite3_exec(db_, ("DETACH DATABASE " + QuoteIdentifier(*alias)).c_str(), nullptr, nullptr, nullptr);
    attached_.clear();
}

}  // namespace ado::sqlite
