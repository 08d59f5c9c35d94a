#include "ado/providers/sqlite/dialect/sql_tokens.h"

#include <algorithm>
#include <array>
#include <cctype>

#include "ado/providers/sqlite/dialect/date_literal.h"
#include "ado/providers/sqlite/dialect/dialect_errors.h"
#include "ado/providers/sqlite/dialect/iso_date.h"
#include "ado/providers/sqlite/dialect/saved_derived_table.h"
#include "ado/text/guid_text.h"

namespace ado::sqlite::detail {
namespace {

bool IsWordStart(char c) {
    const auto u = static_cast<unsigned char>(c);
    return std::isalpha(u) || c == '_' || u >= 0x80;
}
bool IsWordChar(char c) {
    const auto u = static_cast<unsigned char>(c);
    return std::isalnum(u) || c == '_' || c == '$' || u >= 0x80;
}
bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// Keywords sorted for binary search: the words that take part in statement structure or
// operators, so that such a Word is never read as a column or table name.
constexpr std::array<std::string_view, 81> kReserved = {
    "ADD",       "ALIKE",     "ALL",       "ALTER",     "AND",          "AS",        "ASC",        "ATTACH",
    "AUTOINCREMENT", "BEGIN", "BETWEEN",   "BY",           "CASE",      "CHECK",      "COLLATE",
    "COMMIT",    "CONSTRAINT", "CREATE",   "CROSS",        "DEFAULT",   "DELETE",     "DESC",
    "DETACH",    "DISTINCT",  "DISTINCTROW", "DROP",       "ELSE",      "END",        "ESCAPE",
    "EXCEPT",    "EXISTS",    "EXPLAIN",   "FOREIGN",      "FROM",      "FULL",       "GLOB",
    "GROUP",     "HAVING",    "IN",        "INDEX",        "INNER",     "INSERT",     "INTERSECT",
    "INTO",      "IS",        "ISNULL",    "JOIN",         "LEFT",      "LIKE",       "LIMIT",
    "MOD",       "NATURAL",   "NOT",       "NOTNULL",      "OFFSET",    "ON",         "OR",
    "ORDER",     "OUTER",     "PARAMETERS", "PERCENT",     "PIVOT",     "PRAGMA",     "PRIMARY",
    "REFERENCES", "REGEXP",   "RIGHT",     "SELECT",       "SET",       "TABLE",      "THEN",
    "TOP",       "TRANSFORM", "UNION",     "UNIQUE",       "UPDATE",    "USING",      "VALUES",
    "WHEN",      "WHERE",     "WITH",
};

[[noreturn]] void Unterminated(const char* what) { ThrowSyntaxError(std::string(what) + " sin terminar."); }

// Reads a quoted run starting at `open`; a doubled closing quote stands for itself.
size_t ReadQuoted(std::string_view sql, size_t open, char close, bool doubling, std::string& value,
                  const char* what) {
    size_t i = open + 1;
    while (true) {
        if (i >= sql.size()) Unterminated(what);
        if (sql[i] == close) {
            if (doubling && i + 1 < sql.size() && sql[i + 1] == close) {
                value += close;
                i += 2;
                continue;
            }
            return i + 1;
        }
        value += sql[i++];
    }
}

size_t ReadNumber(std::string_view sql, size_t i) {
    if (sql[i] == '0' && i + 1 < sql.size() && (sql[i + 1] == 'x' || sql[i + 1] == 'X')) {
        i += 2;
        while (i < sql.size() && std::isxdigit(static_cast<unsigned char>(sql[i]))) ++i;
        return i;
    }
    while (i < sql.size() && IsDigit(sql[i])) ++i;
    if (i < sql.size() && sql[i] == '.') {
        ++i;
        while (i < sql.size() && IsDigit(sql[i])) ++i;
    }
    if (i < sql.size() && (sql[i] == 'e' || sql[i] == 'E')) {
        size_t j = i + 1;
        if (j < sql.size() && (sql[j] == '+' || sql[j] == '-')) ++j;
        if (j < sql.size() && IsDigit(sql[j])) {
            while (j < sql.size() && IsDigit(sql[j])) ++j;
            i = j;
        }
    }
    return i;
}

[[noreturn]] void BadGuidLiteral() {
    ThrowSyntaxError("literal GUID no válido: se esperaba {guid {XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX}}.");
}

// Jet's GUID literal, {guid {XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX}}: its text in the stored
// form; returns where the literal ends, or npos when `open` starts no such literal.
size_t ReadGuidLiteral(std::string_view sql, size_t open, std::string& value) {
    size_t i = open + 1;
    auto skipSpace = [&] {
        while (i < sql.size() && std::isspace(static_cast<unsigned char>(sql[i]))) ++i;
    };
    skipSpace();
    if (sql.size() - i < 4 || !EqualsNoCase(sql.substr(i, 4), "guid")) return std::string_view::npos;
    i += 4;
    skipSpace();
    const size_t close = i < sql.size() && sql[i] == '{' ? sql.find('}', i) : std::string_view::npos;
    const auto guid = close == std::string_view::npos ? std::nullopt : text::CanonicalGuid(sql.substr(i, close + 1 - i));
    if (!guid) BadGuidLiteral();
    i = close + 1;
    skipSpace();
    if (i >= sql.size() || sql[i] != '}') BadGuidLiteral();
    value = *guid;
    return i + 1;
}

}  // namespace

Tokens Tokenize(std::string_view sql, bool engineText) {
    static constexpr std::array<std::string_view, 8> kTwoCharOps = {"<>", "<=", ">=", "==", "!=", "||", "<<", ">>"};
    Tokens out;
    // A long statement's tokens in one allocation: a million tokens grown by doubling are
    // copied again and again. No statement has more tokens than characters, and the pages
    // reserved beyond the last token are never touched. A short one (every lookup by key)
    // gets room for a token every few characters, so that it is not grown a token at a time.
    out.reserve(sql.size() > 16384 ? sql.size() : sql.size() / 4 + 8);
    size_t i = 0;
    SavedDerivedTables derived;
    std::vector<size_t> derivedCloses;  // the closing brackets of the derived tables read, innermost last
    while (i < sql.size()) {
        const char c = sql[i];
        const size_t start = i;
        // `[SELECT ...]. AS q` reads as `(SELECT ...) AS q`.
        if (!derivedCloses.empty() && i == derivedCloses.back()) {
            out.push_back(Token{TokenKind::Punct, ")", {}, ")", i});
            derivedCloses.pop_back();
            i += 2;  // the bracket and its period
            continue;
        }
        // Jet's @@IDENTITY, the last autonumber this connection added, is the engine's last row id:
        // an autonumber is always its table's integer key.
        if (c == '@' && sql.size() - i >= 10 && EqualsNoCase(sql.substr(i, 10), "@@IDENTITY") &&
            (i + 10 == sql.size() || !IsWordChar(sql[i + 10]))) {
            out.push_back(Token{TokenKind::Word, "last_insert_rowid", "last_insert_rowid", "@@IDENTITY", i});
            out.push_back(Token{TokenKind::Punct, "(", {}, {}, i + 10});  // the call's, not written
            out.push_back(Token{TokenKind::Punct, ")", {}, {}, i + 10});
            i += 10;
            continue;
        }
        if (c == '[' && !engineText) {
            if (const size_t close = derived.CloseOf(sql, i); close != std::string_view::npos) {
                out.push_back(Token{TokenKind::Punct, "(", {}, "(", i});
                derivedCloses.push_back(close);
                ++i;
                continue;
            }
        }
        Token& t = out.emplace_back(Token{TokenKind::Punct, {}, {}, {}});  // filled in place
        if (c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f' || c == '\v') {
            while (i < sql.size() && std::isspace(static_cast<unsigned char>(sql[i]))) ++i;
            t.kind = TokenKind::Space;
        } else if (c == '-' && i + 1 < sql.size() && sql[i + 1] == '-') {
            while (i < sql.size() && sql[i] != '\n') ++i;
            t.kind = TokenKind::Comment;
        } else if (c == '/' && i + 1 < sql.size() && sql[i + 1] == '*') {
            const size_t close = sql.find("*/", i + 2);
            if (close == std::string_view::npos) Unterminated("comentario");
            i = close + 2;
            t.kind = TokenKind::Comment;
        } else if (c == '"' && engineText) {
            i = ReadQuoted(sql, i, '"', true, t.value, "identificador entre comillas");
            t.kind = TokenKind::Name;
            t.text = QuoteName(t.value);
        } else if (c == '\'' || c == '"') {
            i = ReadQuoted(sql, i, c, true, t.value, "literal de texto");
            t.kind = TokenKind::String;
            t.text = QuoteString(t.value);
        } else if (c == '[') {
            i = ReadQuoted(sql, i, ']', false, t.value, "identificador entre corchetes");
            t.kind = TokenKind::Name;
            t.text = QuoteName(t.value);
        } else if (c == '`') {
            i = ReadQuoted(sql, i, '`', true, t.value, "identificador entre comillas");
            t.kind = TokenKind::Name;
            t.text = QuoteName(t.value);
        } else if (c == '#') {
            std::string content;
            i = ReadQuoted(sql, i, '#', false, content, "literal de fecha");
            t.kind = TokenKind::Date;
            t.serial = ParseDateLiteral(content).serial;
            t.value = FormatIsoDate(Date{t.serial});
            t.text = QuoteString(t.value);
        } else if (const size_t end = c == '{' && !engineText ? ReadGuidLiteral(sql, i, t.value) : std::string_view::npos;
                   end != std::string_view::npos) {
            i = end;
            t.kind = TokenKind::String;
            t.text = QuoteString(t.value);
        } else if ((c == 'x' || c == 'X') && i + 1 < sql.size() && sql[i + 1] == '\'') {
            i = ReadQuoted(sql, i + 1, '\'', false, t.value, "literal binario");
            if (t.value.size() % 2 != 0 || t.value.find_first_not_of("0123456789abcdefABCDEF") != std::string::npos)
                ThrowSyntaxError("literal binario no válido.");
            t.kind = TokenKind::Blob;
        } else if (IsDigit(c) || (c == '.' && i + 1 < sql.size() && IsDigit(sql[i + 1]))) {
            i = ReadNumber(sql, i);
            t.kind = TokenKind::Number;
        } else if (IsWordStart(c)) {
            while (i < sql.size() && IsWordChar(sql[i])) ++i;
            t.kind = TokenKind::Word;
        } else if (c == '?') {
            ++i;
            while (i < sql.size() && IsDigit(sql[i])) ++i;
            t.kind = TokenKind::Placeholder;
        } else if ((c == ':' || c == '@' || c == '$') && i + 1 < sql.size() && IsWordChar(sql[i + 1])) {
            ++i;
            while (i < sql.size() && IsWordChar(sql[i])) ++i;
            t.kind = TokenKind::Placeholder;
        } else {
            const std::string_view two = sql.substr(i, 2);
            i += std::find(kTwoCharOps.begin(), kTwoCharOps.end(), two) != kTwoCharOps.end() ? 2 : 1;
        }
        t.original = std::string(sql.substr(start, i - start));
        t.offset = start;
        if (t.text.empty()) t.text = t.original;
        if (t.kind == TokenKind::Word) t.value = t.original;
    }
    return out;
}

namespace {

// Letter case of ASCII only, whatever the program's locale: keywords and the engine's names.
char UpperAscii(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }

}  // namespace

bool EqualsNoCase(std::string_view a, std::string_view b) {
    return a.size() == b.size() &&
           std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) { return UpperAscii(x) == UpperAscii(y); });
}

std::string ToUpperAscii(std::string_view s) {
    std::string r(s);
    for (char& c : r) c = UpperAscii(c);
    return r;
}

// Grave accents, not double quotes: the engine reads an unknown "name" as a string
// literal, which would hide a misspelt column; `name` is always a name.
std::string QuoteName(std::string_view name) {
    std::string r;
    r.reserve(name.size() + 2);
    r += '`';
    for (char c : name) {
        if (c == '`') r += '`';
        r += c;
    }
    return r + "`";
}

std::string QuoteString(std::string_view value) {
    std::string r;
    r.reserve(value.size() + 2);
    r += '\'';
    for (char c : value) {
        if (c == '\'') r += '\'';
        r += c;
    }
    return r + "'";
}

bool IsReservedWord(std::string_view word) {
    // The keywords are upper case: the word is compared as if it were too, without a copy.
    const auto before = [](std::string_view a, std::string_view b) {
        return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
            return static_cast<unsigned char>(UpperAscii(x)) < static_cast<unsigned char>(UpperAscii(y));
        });
    };
    const auto it = std::lower_bound(kReserved.begin(), kReserved.end(), word, before);
    return it != kReserved.end() && EqualsNoCase(*it, word);
}

}  // namespace ado::sqlite::detail
