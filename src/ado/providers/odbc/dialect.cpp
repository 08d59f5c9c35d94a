#include "ado/providers/odbc/dialect.h"

#include "ado/connection_string.h"

namespace ado::odbc {

namespace {

std::string QuoteWith(std::string_view name, char open, char close) {
    std::string out(1, open);
    for (char c : name) {
        if (c == close) out += close;
        out += c;
    }
    return out + close;
}

std::string QuoteNone(std::string_view name) { return std::string(name); }

constexpr Dialect kDialects[] = {
    {"PostgreSQL", QuoteDouble, "SAVEPOINT ", "RELEASE SAVEPOINT ", "ROLLBACK TO SAVEPOINT ", ReadBack::Returning,
     RowLock::ForUpdate, "SELECT current_schema()"},
    {"Microsoft SQL Server", QuoteBrackets, "SAVE TRANSACTION ", "", "ROLLBACK TRANSACTION ", ReadBack::Output,
     RowLock::UpdLockHint, "SELECT SCHEMA_NAME()"},
    {"MySQL", QuoteBacktick, "SAVEPOINT ", "RELEASE SAVEPOINT ", "ROLLBACK TO SAVEPOINT ", ReadBack::None,
     RowLock::ForUpdate, ""},
    {"MariaDB", QuoteBacktick, "SAVEPOINT ", "RELEASE SAVEPOINT ", "ROLLBACK TO SAVEPOINT ", ReadBack::None,
     RowLock::ForUpdate, ""},
    {"Oracle", QuoteDouble, "SAVEPOINT ", "", "ROLLBACK TO SAVEPOINT ", ReadBack::None, RowLock::ForUpdate,
     "SELECT SYS_CONTEXT('USERENV', 'CURRENT_SCHEMA') FROM DUAL"},
    {"SQLite", QuoteDouble, "SAVEPOINT ", "RELEASE SAVEPOINT ", "ROLLBACK TO SAVEPOINT ", ReadBack::None,
     RowLock::Touch, ""},
};

// Engines the table does not know: standard savepoints are tried, rows are locked by touching them.
constexpr Dialect kGeneric[] = {
    {"", QuoteDouble, "SAVEPOINT ", "RELEASE SAVEPOINT ", "ROLLBACK TO SAVEPOINT ", ReadBack::None, RowLock::Touch, ""},
    {"", QuoteBrackets, "SAVEPOINT ", "RELEASE SAVEPOINT ", "ROLLBACK TO SAVEPOINT ", ReadBack::None, RowLock::Touch, ""},
    {"", QuoteBacktick, "SAVEPOINT ", "RELEASE SAVEPOINT ", "ROLLBACK TO SAVEPOINT ", ReadBack::None, RowLock::Touch, ""},
    {"", QuoteNone, "SAVEPOINT ", "RELEASE SAVEPOINT ", "ROLLBACK TO SAVEPOINT ", ReadBack::None, RowLock::Touch, ""},
};

constexpr std::string_view kUtf8NarrowDrivers[] = {
    "psqlodbcw",  // PostgreSQL Unicode: SQL_C_CHAR is the server's UTF-8, not the locale's
};

bool StartsWithNoCase(std::string_view s, std::string_view prefix) {
    return s.size() >= prefix.size() && EqualsNoCase(s.substr(0, prefix.size()), prefix);
}

}  // namespace

std::string QuoteDouble(std::string_view name) { return QuoteWith(name, '"', '"'); }
std::string QuoteBrackets(std::string_view name) { return QuoteWith(name, '[', ']'); }
std::string QuoteBacktick(std::string_view name) { return QuoteWith(name, '`', '`'); }

const Dialect& DialectFor(std::string_view dbmsName, std::string_view quoteChar) {
    for (const auto& d : kDialects)
        if (StartsWithNoCase(dbmsName, d.dbmsName)) return d;
    if (quoteChar == "\"") return kGeneric[0];
    if (quoteChar == "[" || quoteChar == "]") return kGeneric[1];
    if (quoteChar == "`") return kGeneric[2];
    return kGeneric[3];
}

std::string QuoteTableName(std::string_view name, std::string (*quote)(std::string_view)) {
    if (!name.empty() && (name.front() == '"' || name.front() == '[' || name.front() == '`')) return std::string(name);
    std::string out;
    size_t start = 0;
    for (;;) {
        const size_t dot = name.find('.', start);
        out += quote(name.substr(start, dot == std::string_view::npos ? std::string_view::npos : dot - start));
        if (dot == std::string_view::npos) break;
        out += '.';
        start = dot + 1;
    }
    return out;
}

bool NarrowTextIsUtf8(std::string_view driverName) {
    for (auto d : kUtf8NarrowDrivers)
        if (StartsWithNoCase(driverName, d)) return true;
    return false;
}

}  // namespace ado::odbc
