#include "ado/providers/sqlite/dialect/saved_derived_table.h"

#include <cctype>
#include <vector>

#include "ado/providers/sqlite/dialect/sql_tokens.h"

namespace ado::sqlite::detail {
namespace {

constexpr size_t npos = std::string_view::npos;

bool IsSpace(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f' || c == '\v'; }
bool IsWordChar(char c) {
    const auto u = static_cast<unsigned char>(c);
    return std::isalnum(u) || c == '_' || c == '$' || u >= 0x80;
}

// A bracket whose text starts with the word SELECT.
bool OpensQuery(std::string_view sql, size_t open) {
    size_t i = open + 1;
    while (i < sql.size() && IsSpace(sql[i])) ++i;
    return sql.size() - i > 6 && EqualsNoCase(sql.substr(i, 6), "SELECT") && !IsWordChar(sql[i + 6]);
}

// The closing bracket of a derived table has a period after it and then a space or the end
// (`]. AS q`), where a qualified name goes on (`[Select list].Name`).
bool ClosesDerivedTable(std::string_view sql, size_t close) {
    if (close + 1 >= sql.size() || sql[close + 1] != '.') return false;
    const size_t next = close + 2;
    return next == sql.size() || IsSpace(sql[next]) || sql[next] == ';' || sql[next] == ')' || sql[next] == ',';
}

// Past the closing `quote` of a run that opens at `i` (a doubled quote stays inside).
size_t PastQuoted(std::string_view sql, size_t i, char quote, bool doubling) {
    for (++i; i < sql.size(); ++i)
        if (sql[i] == quote) {
            if (!doubling || i + 1 >= sql.size() || sql[i + 1] != quote) return i + 1;
            ++i;
        }
    return sql.size();
}

// Past the literal, bracketed name or comment that starts at `i`, as the tokenizer reads
// them; past the one character otherwise.
size_t PastUnit(std::string_view sql, size_t i) {
    const char c = sql[i];
    if (c == '\'' || c == '"' || c == '`') return PastQuoted(sql, i, c, true);
    if (c == '[') return PastQuoted(sql, i, ']', false);
    if (c == '-' && i + 1 < sql.size() && sql[i + 1] == '-') {
        const size_t end = sql.find('\n', i);
        return end == npos ? sql.size() : end;
    }
    if (c == '/' && i + 1 < sql.size() && sql[i + 1] == '*') {
        const size_t end = sql.find("*/", i + 2);
        return end == npos ? sql.size() : end + 2;
    }
    return i + 1;
}

}  // namespace

size_t SavedDerivedTables::CloseOf(std::string_view sql, size_t open) {
    if (const auto it = closes_.find(open); it != closes_.end()) return it->second;
    if (!OpensQuery(sql, open)) return npos;
    Match(sql, open);
    return closes_[open];
}

void SavedDerivedTables::Match(std::string_view sql, size_t open) {
    std::vector<size_t> opens{open};
    size_t i = open + 1;
    while (i < sql.size() && !opens.empty()) {
        if (sql[i] == '[' && OpensQuery(sql, i)) {
            opens.push_back(i++);
        } else if (sql[i] == ']') {
            closes_[opens.back()] = ClosesDerivedTable(sql, i) ? i : npos;
            opens.pop_back();
            ++i;
        } else {
            i = PastUnit(sql, i);
        }
    }
    for (const size_t never : opens) closes_[never] = npos;
}

}  // namespace ado::sqlite::detail
