// Owners of the engine's resources in the embedded provider: a compiled statement, finalized
// with its owner, and the external files attached for one statement, detached with theirs.
// Every compile and attach is checked: a failure is thrown, never left for the next call.
#pragma once

#include <initializer_list>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include <sqlcipher/sqlite3.h>

#include "ado/providers/sqlite/dialect/access_dialect.h"
#include "ado/providers/sqlite/sqlite_errors.h"

namespace ado::sqlite {

class EngineStatement {
public:
    EngineStatement() = default;
    // Compiles `sql`; the engine's failure is thrown, classified by `kind`. Text with nothing
    // to run (only comments) gives an empty statement.
    EngineStatement(sqlite3* db, std::string_view sql, StatementKind kind = StatementKind::Other);
    // Takes over a statement compiled elsewhere.
    EngineStatement(sqlite3* db, sqlite3_stmt* compiled) : db_(db), stmt_(compiled) {}
    ~EngineStatement() { sqlite3_finalize(stmt_); }
    EngineStatement(EngineStatement&& other) noexcept : db_(other.db_), stmt_(other.stmt_) { other.stmt_ = nullptr; }
    EngineStatement& operator=(EngineStatement&& other) noexcept;
    EngineStatement(const EngineStatement&) = delete;
    EngineStatement& operator=(const EngineStatement&) = delete;

    sqlite3_stmt* get() const { return stmt_; }
    explicit operator bool() const { return stmt_ != nullptr; }
    // Gives the statement up to a caller that finalizes it.
    sqlite3_stmt* Release();

    // Binds texts to ?1, ?2... (the library's own short statements).
    EngineStatement& BindTexts(std::initializer_list<std::string_view> texts);
    // Steps once: true for a row, false at the end; a failure is thrown.
    bool Step();
    // The current row's column as text; "" for Null.
    const char* Text(int column) const {
        const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(stmt_, column));
        return text ? text : "";
    }

private:
    sqlite3* db_ = nullptr;
    sqlite3_stmt* stmt_ = nullptr;
};

// Runs one of the library's own statements to its end, with texts bound to ?1, ?2...
void RunOwn(sqlite3* db, std::string_view sql, std::initializer_list<std::string_view> texts = {});
// The first column of the first row of one of the library's own queries, as text.
std::optional<std::string> QueryText(sqlite3* db, std::string_view sql, std::initializer_list<std::string_view> texts = {});
int64_t QueryInteger(sqlite3* db, std::string_view sql);

// The external files of one statement, attached when made, all of them or none, and
// detached when it goes. Each file must be a database of the current format.
class Attachments {
public:
    Attachments(sqlite3* db, const std::vector<AttachedFile>& files);
    ~Attachments();
    Attachments(const Attachments&) = delete;
    Attachments& operator=(const Attachments&) = delete;

private:
    void DetachAll();

    sqlite3* db_;
    std::vector<std::string> attached_;
};

}  // namespace ado::sqlite
