#include "ado/providers/sqlite/statement_run.h"

#include <algorithm>
#include <chrono>

#include "ado/error_numbers.h"
#include "ado/providers/sqlite/bind.h"
#include "ado/providers/sqlite/result_reader.h"

namespace ado::sqlite {

namespace {

std::string_view Unbracketed(std::string_view name) {
    if (!name.empty() && (name.front() == '@' || name.front() == ':')) name.remove_prefix(1);
    if (name.size() >= 2 && name.front() == '[' && name.back() == ']') return name.substr(1, name.size() - 2);
    return name;
}

// The command's time limit interrupts the statement through the engine's progress handler,
// which is the connection's own: it is cleared when the run ends.
class TimeLimit {
public:
    TimeLimit(sqlite3* db, int32_t seconds) : db_(db) {
        if (seconds <= 0) return;
        deadline_ = std::chrono::steady_clock::now() + std::chrono::seconds(seconds);
        sqlite3_progress_handler(db_, 1000, [](void* self) -> int {
            return std::chrono::steady_clock::now() > static_cast<TimeLimit*>(self)->deadline_ ? 1 : 0;
        }, this);
    }
    ~TimeLimit() {
        if (deadline_ != std::chrono::steady_clock::time_point{}) sqlite3_progress_handler(db_, 0, nullptr, nullptr);
    }
    TimeLimit(const TimeLimit&) = delete;
    TimeLimit& operator=(const TimeLimit&) = delete;

private:
    sqlite3* db_;
    std::chrono::steady_clock::time_point deadline_{};
};

// Where engine parameter i (1-based) stands in the command's list of values, as Refresh lists
// them: the declared parameters in the declaration's order (used or not), then the other named
// references in order of appearance, then the plain ? markers. With no declaration, this is the
// order of appearance.
size_t PositionOf(const Translation& tr, int i) {
    const std::vector<std::string>& names = tr.placeholders;
    auto declaredAt = [&](std::string_view name) {
        for (size_t k = 0; k < tr.parameters.size(); ++k)
            if (EqualsNoCase(Unbracketed(tr.parameters[k].name), Unbracketed(name))) return k;
        return tr.parameters.size();
    };
    size_t undeclaredBefore = 0;
    const size_t named = std::min(names.size(), static_cast<size_t>(i - 1));
    for (size_t j = 0; j < named; ++j) undeclaredBefore += declaredAt(names[j]) == tr.parameters.size();
    if (static_cast<size_t>(i) <= names.size()) {
        const size_t k = declaredAt(names[static_cast<size_t>(i - 1)]);
        if (k < tr.parameters.size()) return k;
        return tr.parameters.size() + undeclaredBefore;
    }
    return tr.parameters.size() + undeclaredBefore + (static_cast<size_t>(i) - names.size() - 1);
}

}  // namespace

void BindStatement(sqlite3_stmt* stmt, const Translation& tr, const provider::Statement& st) {
    const std::vector<std::string>& placeholders = tr.placeholders;
    const int count = sqlite3_bind_parameter_count(stmt);
    // A value whose name is one of the statement's goes there only: it never stands in, by its
    // position, for a parameter the command left out.
    std::vector<bool> named(st.parameters.size(), false);
    for (size_t k = 0; k < st.parameterNames.size() && k < named.size(); ++k)
        for (const std::string& p : placeholders)
            if (EqualsNoCase(Unbracketed(st.parameterNames[k]), Unbracketed(p))) named[k] = true;
    for (int i = 1; i <= count; ++i) {
        std::string_view name;
        if (static_cast<size_t>(i) <= placeholders.size()) name = placeholders[static_cast<size_t>(i - 1)];
        else if (const char* n = sqlite3_bind_parameter_name(stmt, i); n && n[0] != '?') name = n;
        const Variant* value = nullptr;
        if (!name.empty())
            for (size_t k = 0; k < st.parameterNames.size() && !value; ++k)
                if (EqualsNoCase(Unbracketed(st.parameterNames[k]), Unbracketed(name))) value = &st.parameters[k];
        if (!value) {
            const size_t position = PositionOf(tr, i);
            if (position < st.parameters.size() && !named[position]) value = &st.parameters[position];
        }
        if (!value) Raise(Condition::MissingParameters, name.empty() ? std::string() : "(" + std::string(name) + ")");
        const size_t index = static_cast<size_t>(i - 1);
        BindParameter(stmt, i, *value, index < tr.parameterTypes.size() ? tr.parameterTypes[index] : adVariant);
    }
}

int64_t RunStatement(sqlite3* db, sqlite3_stmt* stmt, const Translation& tr, const provider::Statement& st,
                     StatementKind kind, cursor::RowStore& rows) {
    struct Reset {
        sqlite3_stmt* s;
        ~Reset() { sqlite3_reset(s); }
    } reset{stmt};
    const TimeLimit limit(db, st.timeoutSeconds);
    BindStatement(stmt, tr, st);
    const int totalBefore = sqlite3_total_changes(db);
    const int first = sqlite3_step(stmt);
    if (first != SQLITE_ROW && first != SQLITE_DONE) ThrowEngineError(db, kind);
    // A statement that changed no row (a definition) affected none, whatever came before it.
    if (sqlite3_column_count(stmt) == 0) return sqlite3_total_changes(db) == totalBefore ? 0 : sqlite3_changes(db);
    DescribeColumns(db, stmt, rows, tr.columns);
    ReadRows(db, stmt, first, rows, st.page);
    return -1;
}

}  // namespace ado::sqlite
