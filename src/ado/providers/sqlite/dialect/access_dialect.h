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
//
// Row identity (row_identity_pass.cpp), only when a RowIdentitySchema is given: a plain
// SELECT over base tables and joins gets, at the end of its outermost select list, one
// hidden column per base-table source holding that row's identity (`source`._rowid_), so
// that edits and deletes through the query reach exactly the row they came from. See
// RowIdentityColumn for the contract.
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

// One hidden identity column of a translated SELECT. The columns are appended after every
// column the statement selects, in this order, each written `q`._rowid_ AS `brezal_rowid_N`
// (N from 1), where q is the alias when the source has one and the table otherwise; the
// result's last rowIdentity.size() columns are these. A source's row identity is its rowid,
// valid while the statement's result lives (compaction renumbers rowids).
//
// Which SELECTs get them: the first statement of the text is a SELECT (optionally ALL) whose
// FROM lists table names, aliases, parenthesised joins and JOIN ... ON / USING; each source
// that names a base table (as the schema answers) gets a column; subqueries in FROM, tables
// of other files (IN 'file', qualified names) and views or stored queries get none. The
// statement gets none at all when it is DISTINCT or DISTINCTROW, TOP, a compound (UNION,
// INTERSECT, EXCEPT), grouped (GROUP BY, HAVING), has an aggregate in its select list, is a
// make-table query (INTO) or begins with WITH. A LEFT JOIN's unmatched side reads Null.
struct RowIdentityColumn {
    std::string table;  // the base table as FROM names it, without quotes
    std::string alias;  // the name the source goes by in the statement (the table's when it has no alias)
    friend bool operator==(const RowIdentityColumn&, const RowIdentityColumn&) = default;
};

// Answers the row-identity pass from the database; the translator itself opens nothing.
class RowIdentitySchema {
public:
    virtual ~RowIdentitySchema() = default;
    // True when `table` (as written in FROM, without quotes) is a base table with a rowid of
    // the main database: not a view, a stored query or a WITHOUT ROWID table.
    virtual bool IsBaseTable(std::string_view table) = 0;
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
    std::vector<RowIdentityColumn> rowIdentity;   // hidden identity columns (with a schema only)
};

// With a schema, eligible SELECTs get their row identity columns (see RowIdentityColumn).
Translation TranslateAccessSql(std::string_view accessSql, RowIdentitySchema* schema = nullptr);

// TranslateAccessSql through a bounded cache keyed by the statement text. The reference
// stays valid at least until the calling thread's next call; errors are not cached.
const Translation& TranslateAccessSqlCached(std::string_view accessSql);
// The same with row identity columns. A cached translation serves again only while the
// schema still gives the answers it was made with (the schema is asked again each time).
const Translation& TranslateAccessSqlCached(std::string_view accessSql, RowIdentitySchema& schema);

// Registers the Access functions (UCASE, MID, NOW, DATEDIFF, FORMAT, ...), the Access
// aggregates (First, Last, StDev, Var...) and the Access LIKE on a connection. The
// engine's own date(), time(), trim(x, y) and replace() stay as they are.
// PRAGMA case_sensitive_like puts the engine's LIKE back.
void RegisterAccessFunctions(sqlite3* db);

}  // namespace ado::sqlite
