// The Access (Jet) SQL dialect on the embedded engine: a translator from Access SQL to the
// engine's SQL, and the Access functions, collation and LIKE registered on a connection.
//
// The translator reads one statement into a syntax tree (parser.h), types it against the
// database's schema as Access types expressions (typer.h) and writes it for the engine
// (sql_writer.h). Values keep Access's meaning in the file (value_types.h): dates are date
// serials, Currency exact ten-thousandths, Decimal an exact order-preserving key, and texts
// compare without regard to case through the ACCESS collation. What it rewrites besides:
//  - "text" and 'text' are strings; [Name] and `Name` names; #date# the date's serial;
//  - a & b joins texts, Null counting as empty; + of two texts joins them too;
//  - SELECT TOP n [PERCENT] becomes LIMIT; DISTINCTROW, DISTINCT; True/Yes -1, False/No 0;
//    Mod, \, ^ and Xor/Eqv/Imp their Access meaning;
//  - a leading PARAMETERS declaration is removed and reported; parameters become ?1, ?2...
//    (named ones first, in order of first appearance, then the plain ? in order);
//  - t IN 'file' reaches a table of another database file through an attachment;
//  - DELETE * FROM t, DELETE t.* FROM t -> DELETE FROM t; SELECT ... INTO t makes t with the
//    columns' Access types and fills it;
//  - CREATE TABLE: Access type names are kept as declared (REAL is written SINGLE), one
//    COUNTER or AUTOINCREMENT column becomes INTEGER PRIMARY KEY AUTOINCREMENT, text columns
//    get the ACCESS collation, typed columns a check that keeps their values in form, and
//    the columns of a primary key (but the autonumber) a check that refuses Null.
// Text after the end of the statement fails with 3142; malformed text with err::SyntaxError;
// Access constructs the engine cannot express with err::FeatureNotAvailable. Statements the
// translator does not read (PRAGMA, CREATE TRIGGER...) pass through as written.
//
// Row identity, when asked for: a plain SELECT over tables of the file gets, at the end of its
// outermost select list, one hidden column per table source holding that row's identity, so
// that edits and deletes through the query reach exactly the row they came from (see
// RowIdentityColumn).
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "ado/Enums.h"

struct sqlite3;

namespace ado::sqlite {

namespace detail {
class SchemaSource;
}

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

// The Access type of a result column, where the engine reports no declared type.
struct ResultColumnType {
    DataTypeEnum type = adVariant;  // adVariant: take it from the values
    int32_t size = 0;
    uint8_t precision = 0;
    uint8_t scale = 0;
};

// A crosstab (TRANSFORM ... PIVOT) has one column per value of its pivot: its statement is
// written once those values are known (see CrosstabStatement).
class CrosstabPlan;

// One column of a crosstab: the pivot value in the engine's form, and the column's heading.
struct PivotValue {
    std::string literal;  // "45366.0", "'Norte'", "NULL"
    std::string heading;  // "15/03/2024", "Norte", "<>" for Null
};

// One hidden identity column of a translated SELECT. The columns are appended after every
// column the statement selects, in this order, each written `q`._rowid_ AS `brezal_rowid_N`
// (N from 1), where q is the alias when the source has one and the table otherwise; the
// result's last rowIdentity.size() columns are these. A source's row identity is its rowid,
// valid while the statement's result lives (compaction renumbers rowids).
//
// Which SELECTs get them: a SELECT whose sources are tables, aliases and joins; each source
// that is a table of the file's own with a rowid gets a column; subqueries in FROM, tables
// of other files (IN 'file', qualified names), views and stored queries get none. The
// statement gets none at all when it is DISTINCT or DISTINCTROW, TOP, a compound (UNION,
// INTERSECT, EXCEPT), grouped (GROUP BY, HAVING), has an aggregate in its select list, is a
// make-table query (INTO) or begins with WITH. A LEFT JOIN's unmatched side reads Null.
struct RowIdentityColumn {
    std::string table;  // the base table as FROM names it, without quotes
    std::string alias;  // the name the source goes by in the statement (the table's when it has no alias)
    friend bool operator==(const RowIdentityColumn&, const RowIdentityColumn&) = default;
};

// While a table is made again (a change the engine cannot make in place, a file's migration),
// the new one goes by the table's name followed by this until the old one is gone.
inline constexpr std::string_view kRemadeTableSuffix = "_brezal_nuevo";

struct Translation {
    std::string sql;                              // the engine's text (empty for a crosstab)
    std::vector<std::string> before;              // statements that run first, with it (SELECT INTO)
    std::vector<std::string> after;               // statements that run last, with it (a counter's seed)
    std::vector<DeclaredParameter> parameters;    // from a leading PARAMETERS declaration
    // Named parameter references in order of first appearance, without brackets or prefix:
    // the one at index i is ?(i+1). Plain ? markers are numbered after them.
    std::vector<std::string> placeholders;
    std::vector<DataTypeEnum> parameterTypes;     // per ?N (index N-1): the type its value is bound as
    std::vector<AttachedFile> attachments;
    std::vector<ResultColumnType> columns;        // the result's columns (SELECT), in order
    bool returnsRows = false;                     // the statement yields rows (SELECT, PRAGMA, ...)
    bool schemaChange = false;                    // it defines or drops something
    // It makes again a table that has relationships with other tables or itself: it runs outside any
    // transaction with the engine's relationship checks off, then every relationship is checked.
    bool remakesRelatedTable = false;
    std::shared_ptr<const CrosstabPlan> crosstab; // a crosstab: its plan, `sql` empty
    std::vector<RowIdentityColumn> rowIdentity;   // hidden identity columns (when asked for)
};

// The query whose rows are a crosstab's pivot values in column order (as the engine holds
// them); empty when an IN list fixes the columns. Its parameters are the translation's.
std::string CrosstabValuesSql(const CrosstabPlan& plan);
// The type of the pivot values (to write their headings).
DataTypeEnum CrosstabPivotType(const CrosstabPlan& plan);
// The crosstab's statement, with a column per value given (the IN list's, when it has one).
Translation CrosstabStatement(const CrosstabPlan& plan, const std::vector<PivotValue>& values);

// Whether an eligible SELECT carries its rows' identity (see RowIdentityColumn).
enum class RowIdentity { Without, With };

Translation TranslateAccessSql(std::string_view accessSql, detail::SchemaSource& schema,
                               RowIdentity identity = RowIdentity::Without);
// Without a schema: every column is of unknown type.
Translation TranslateAccessSql(std::string_view accessSql);

// A table definition as the engine keeps it in its schema (engine text: "x" is a name),
// written again as the dialect writes new tables: text columns with the ACCESS collation and
// typed columns with their checks. Declared types stay as they are (REAL stays a double).
std::string RewriteTableDefinition(std::string_view createTableSql, std::string_view newName);

// DLookUp(expr, domain [, criteria]) and DCount, DSum, DAvg, DMin, DMax, DFirst, DLast: the
// Access query that a call with these texts stands for; nullopt for another function name.
// Functions of the Access application rather than of its engine, served as an extension
// because saved queries use them: with texts written in the statement they become a subquery,
// otherwise the session runs them per row (RegisterDomainAggregates).
std::optional<std::string> DomainAggregateQuery(std::string_view function, std::string_view expression,
                                                std::string_view domain, std::string_view criteria);
// The names of those functions (DLookUp, DCount, DSum...), in capitals.
std::vector<std::string_view> DomainAggregateNames();

// The statements of a script, each with where it starts (for `quimera sql`).
struct ScriptPart {
    std::string text;
    size_t offset;
};
std::vector<ScriptPart> SplitAccessScript(std::string_view script);

// Registers the Access functions (UCASE, MID, NOW, DATEDIFF, FORMAT, ...), the Access
// aggregates (First, Last, StDev, Var...), the exact-value functions the translator calls
// and the Access LIKE on a connection. The engine's own date(), time(), trim(x, y) and
// replace() stay as they are. PRAGMA case_sensitive_like puts the engine's LIKE back.
void RegisterAccessFunctions(sqlite3* db);

// CurrentUser(): the user this connection opened as, "Admin" when none was named (Jet's
// user when no workgroup is in use).
void RegisterCurrentUser(sqlite3* db, const std::string& user);

}  // namespace ado::sqlite
