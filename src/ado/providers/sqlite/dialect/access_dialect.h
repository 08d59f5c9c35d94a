// The Access (Jet) SQL dialect on the embedded engine: a token-level translator from
// Access SQL to SQLite SQL, and the Access functions and LIKE registered on a connection.
//
// The translator works on tokens (quotes, brackets, #dates# and comments are recognised
// first), never by substring substitution. What it rewrites:
//  - "text" -> 'text' (double quotes always delimit strings, as in Access; write names
//    in [brackets]); [Name] -> "Name"; #date# -> 'YYYY-MM-DD HH:MM:SS';
//  - a & b -> IFNULL(a,'') || IFNULL(b,'') (operands keep Access precedence: arithmetic
//    binds tighter than &); plain || when an operand cannot be delimited;
//  - SELECT TOP n [PERCENT] -> LIMIT at the end of that SELECT (subqueries and
//    compound members included); DISTINCTROW -> DISTINCT; TRUE/YES -> -1, FALSE/NO -> 0;
//    a Mod b -> a % b; LEFT(, RIGHT(, ISNULL( -> quoted function names (SQLite keywords);
//  - a leading PARAMETERS declaration is removed and reported; references to declared
//    parameters become ?1, ?2... in order of first appearance;
//  - t IN 'file' -> "ext_xxxxxxxx"."t", the file reported as an attachment;
//  - DELETE * FROM t -> DELETE FROM t; SELECT ... INTO t FROM ... -> CREATE TABLE t AS SELECT ...;
//  - CREATE TABLE: Access type names are kept as declared, except one COUNTER or
//    AUTOINCREMENT column, which becomes INTEGER PRIMARY KEY AUTOINCREMENT (its separate
//    PRIMARY KEY (col) clause, when it names only that column, is dropped); DEFAULT f()
//    -> DEFAULT (f()); WITH COMPRESSION is dropped.
// Comments are kept as written. Malformed text throws ado::Error(err::SyntaxError);
// Access constructs the engine cannot express throw ado::Error(err::FeatureNotAvailable).
#pragma once

#include <string>
#include <string_view>
#include <vector>

struct sqlite3;

namespace ado::sqlite {

// A parameter declared in PARAMETERS: the name as written (brackets kept when written
// with them) and the type text as written ("Long", "Text(50)", "DateTime").
struct DeclaredParameter {
    std::string name;
    std::string type;
    friend bool operator==(const DeclaredParameter&, const DeclaredParameter&) = default;
};

// A database file that must be attached, under alias, before the statement runs.
// The alias is derived from the path, so the same file always gets the same alias.
struct AttachedFile {
    std::string alias;
    std::string path;
    friend bool operator==(const AttachedFile&, const AttachedFile&) = default;
};

struct Translation {
    std::string sql;                              // SQLite text
    std::vector<DeclaredParameter> parameters;    // from a leading PARAMETERS declaration
    // Named parameter references of the body in order of first appearance, without
    // brackets; the one at index i is written as ?(i+1). Plain ? placeholders stay
    // positional (SQLite numbers them after these); @name and :name pass through.
    std::vector<std::string> placeholders;
    std::vector<AttachedFile> attachments;
    bool returnsRows = false;                     // the first statement yields rows (SELECT, PRAGMA, ...)
};

Translation TranslateAccessSql(std::string_view accessSql);

// TranslateAccessSql through a bounded cache keyed by the statement text. The reference
// stays valid at least until the calling thread's next call; errors are not cached.
const Translation& TranslateAccessSqlCached(std::string_view accessSql);

// Registers the Access functions (UCASE, MID, NOW, DATEDIFF, FORMAT, ...), the Access
// aggregates (First, Last, StDev, Var...) and the Access LIKE on a connection. The
// engine's own date(), time(), trim(x, y) and replace() stay as they are.
// PRAGMA case_sensitive_like puts the engine's LIKE back.
void RegisterAccessFunctions(sqlite3* db);

}  // namespace ado::sqlite
