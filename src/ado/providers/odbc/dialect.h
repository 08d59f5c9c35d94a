// What differs between the engines behind ODBC drivers: identifier quoting, savepoints for
// nested transactions, the row lock of pessimistic editing and how an insert reads back.
#pragma once

#include <string>
#include <string_view>

namespace ado::odbc {

enum class ReadBack { None, Returning, Output };  // INSERT ... RETURNING / OUTPUT INSERTED.
enum class RowLock { Touch, ForUpdate, UpdLockHint };

struct Dialect {
    std::string_view dbmsName;  // SQL_DBMS_NAME starts with this ("" matches any)
    std::string (*quote)(std::string_view identifier);
    std::string_view savepoint;   // "" when the engine has no savepoints
    std::string_view release;     // "" when savepoints need no release
    std::string_view rollbackTo;
    ReadBack readBack;
    RowLock rowLock;
    std::string_view currentSchema;  // the query naming the schema unqualified names resolve to ("" unknown)
};

// The dialect of the engine named by SQL_DBMS_NAME; `quoteChar` (SQL_IDENTIFIER_QUOTE_CHAR)
// chooses the quoting of engines the table does not know.
const Dialect& DialectFor(std::string_view dbmsName, std::string_view quoteChar);

std::string QuoteDouble(std::string_view identifier);    // "name", "" inside
std::string QuoteBrackets(std::string_view identifier);  // [name], ]] inside
std::string QuoteBacktick(std::string_view identifier);  // `name`, `` inside

// A table name for "SELECT * FROM": each dot-separated part quoted, unless the client
// already quoted it.
std::string QuoteTableName(std::string_view name, std::string (*quote)(std::string_view));

// Drivers whose narrow (SQL_C_CHAR) data is UTF-8 whatever the process locale; the others
// exchange text as UTF-16.
bool NarrowTextIsUtf8(std::string_view driverName);

}  // namespace ado::odbc
