// The syntax tree of one Access SQL statement, as the parser builds it and the typer and the
// writer read it. Nodes live in arenas and refer to each other by index, so that a deeply
// nested expression is walked with explicit stacks, never by recursion proportional to it.
// An expression's children are always created before it: ids grow from leaves to roots.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "ado/Enums.h"
#include "ado/providers/sqlite/dialect/access_dialect.h"

namespace ado::sqlite::detail {

using ExprId = uint32_t;
using SelectId = uint32_t;
using SourceId = uint32_t;
inline constexpr uint32_t kNone = UINT32_MAX;

enum class Op : uint8_t {
    None,
    // logical, lowest first
    Imp, Eqv, Xor, Or, And,
    // comparison
    Eq, Ne, Lt, Le, Gt, Ge, Is, IsNot, Like, Alike, Glob, Regexp, Match,
    // bits (the engine's), text and arithmetic
    BitOr, BitAnd, ShiftLeft, ShiftRight, Concat, Pipe, Add, Sub, Mod, IntDiv, Mul, Div, Pow,
    // prefix
    Neg, Plus, Not, BitNot,
};

enum class ExprKind : uint8_t {
    Literal,
    Column,     // [qualifier.]name
    Parameter,  // ?, ?N, :name, @name, $name, or a declared parameter's name
    Star,       // * or qualifier.*
    Unary,      // op child
    Binary,     // child op child
    Between,    // value [NOT] BETWEEN low AND high
    InList,     // value [NOT] IN (items...)
    InSelect,   // value [NOT] IN (select)
    IsNull,     // value IS [NOT] NULL
    Exists,     // [NOT] EXISTS (select)
    Quantified,  // value op ANY|SOME|ALL (select): `op` the comparison, `text` "ANY" or "ALL"
    Subquery,   // (select) as a value
    Call,       // name(args), COUNT(*), COUNT(DISTINCT x)
    Case,       // CASE [base] WHEN w THEN t ... [ELSE e] END: children base?, w, t, ..., else?
    Cast,       // CAST(child AS text)
    Collate,    // child COLLATE text
    RowValue,   // (a, b, ...)
    Raw,        // text written as it is (made by rewrites)
};

enum class LiteralKind : uint8_t { Number, String, Date, Null, Boolean, Blob };

struct Expr {
    ExprKind kind = ExprKind::Literal;
    Op op = Op::None;
    LiteralKind literal = LiteralKind::Null;
    bool negated = false;    // NOT BETWEEN / NOT IN / NOT LIKE / IS NOT NULL / NOT EXISTS
    bool distinct = false;   // an aggregate over DISTINCT values
    bool hasBase = false;    // CASE base WHEN ...
    bool hasElse = false;    // CASE ... ELSE ...
    bool hasEscape = false;  // LIKE ... ESCAPE: the third child
    uint32_t first = 0;      // first child in Tree::children
    uint32_t count = 0;      // number of children
    std::string text;        // literal text, column/parameter/function name, CAST type, collation
    std::string qualifier;   // a column's or star's table (or "database.table")
    double number = 0;       // a date literal's serial
    SelectId select = kNone;  // Exists, InSelect, Quantified, Subquery
    SelectId scope = kNone;   // the SELECT (or statement) the expression belongs to
    size_t offset = 0;        // where it starts in the statement text
};

// One FROM source: a table (of this file or of another), a derived table, or a join.
enum class JoinKind : uint8_t { Comma, Inner, Left, Right, Cross, Natural };

struct Source {
    enum class Kind : uint8_t { Table, Derived, Join } kind = Kind::Table;
    std::string database;      // the schema a name was qualified with ("" = the file's own)
    std::string name;          // a table or stored query
    std::string externalFile;  // t IN 'file'
    std::string alias;
    SelectId select = kNone;   // Derived
    JoinKind join = JoinKind::Comma;
    SourceId left = kNone, right = kNone;
    ExprId on = kNone;
    std::vector<std::string> usingColumns;
};

struct SelectItem {
    ExprId expr = kNone;
    std::string alias;  // "" when none was written
};

struct OrderTerm {
    ExprId expr = kNone;
    bool descending = false;
};

struct CommonTable {
    std::string name;
    std::vector<std::string> columns;
    SelectId select = kNone;
};

enum class CompoundOp : uint8_t { Union, UnionAll, Intersect, Except };

struct Select {
    bool distinct = false;
    bool distinctRow = false;
    bool topPresent = false;
    bool topPercent = false;
    std::string topCount;  // the number as written
    std::vector<SelectItem> items;
    SourceId from = kNone;
    ExprId where = kNone;
    std::vector<ExprId> groupBy;
    ExprId having = kNone;
    // A compound's first member holds the others, its ORDER BY and LIMIT.
    std::vector<std::pair<CompoundOp, SelectId>> compound;
    std::vector<OrderTerm> orderBy;
    ExprId limit = kNone, offset = kNone;  // the engine's LIMIT / OFFSET, as written
    std::vector<CommonTable> with;
    SelectId outer = kNone;    // the select this one is nested in (for correlated names)
    bool isMember = false;     // a later member of a compound
    bool inlineValues = false;  // VALUES (...), (...) used as a select
    std::vector<std::vector<ExprId>> values;  // its rows
};

struct ColumnDefinition {
    std::string name;
    std::string typeName;  // as written, with its (n) or (p, s)
    // Constraints and options after the type, in order.
    struct Constraint {
        enum class Kind : uint8_t { PrimaryKey, NotNull, Null, Unique, Default, Check, References, Collate, Other };
        Kind kind = Kind::Other;
        std::string name;  // CONSTRAINT name
        ExprId expr = kNone;  // Default, Check
        std::string text;     // References (the clause), Collate (the name), Other (as written), PrimaryKey order
        std::string referencedTable;  // References
        bool autoIncrement = false;
    };
    std::vector<Constraint> constraints;
    bool Has(Constraint::Kind kind) const {
        for (const Constraint& c : constraints)
            if (c.kind == kind) return true;
        return false;
    }
};

struct TableConstraint {
    enum class Kind : uint8_t { PrimaryKey, Unique, Check, ForeignKey } kind = Kind::PrimaryKey;
    std::string name;
    std::vector<std::string> columns;
    ExprId check = kNone;
    std::string references;  // the REFERENCES clause as the engine takes it
    std::string referencedTable;  // ForeignKey: the table it names
};

enum class StatementKind : uint8_t {
    Select, Insert, Update, Delete, CreateTable, AlterTable, CreateIndex, Drop, Passthrough,
};

struct TableName {
    std::string database;
    std::string name;
    std::string externalFile;
    std::string alias;
};

struct Statement {
    StatementKind kind = StatementKind::Passthrough;
    SelectId select = kNone;  // Select; the source of INSERT ... SELECT; CREATE TABLE ... AS
    TableName target;         // Insert, Update, Delete, CreateTable, AlterTable, CreateIndex, Drop; SELECT INTO
    bool selectInto = false;
    std::vector<std::string> columns;  // INSERT's column list; CREATE INDEX's columns
    std::vector<std::string> directions;  // CREATE INDEX: "", "ASC" or "DESC" per column
    bool defaultValues = false;        // INSERT ... DEFAULT VALUES
    std::vector<std::pair<std::string, ExprId>> assignments;  // UPDATE's SET
    SourceId from = kNone;      // UPDATE's and DELETE's table or joins
    ExprId where = kNone;
    std::vector<ColumnDefinition> definitions;  // CREATE TABLE, ALTER TABLE ADD
    std::vector<TableConstraint> tableConstraints;
    bool temporary = false, ifNotExists = false, unique = false;
    std::string alterAction;  // "ADD", "DROP COLUMN", ...
    std::string dropKind;     // TABLE, INDEX, VIEW
    std::string deleteTarget;  // DELETE t.* FROM ...: the source rows are deleted from
    std::string indexName;
    std::string options;      // CREATE INDEX's WITH ... (Access), kept as written
    std::vector<CommonTable> with;  // WITH before INSERT/UPDATE/DELETE
    SelectId scope = kNone;   // the pseudo-select that scopes UPDATE/DELETE/INSERT names
    // TRANSFORM value SELECT ... PIVOT pivot [IN (values)]: a crosstab over `select`.
    ExprId transformValue = kNone;
    ExprId pivot = kNone;
    std::vector<ExprId> pivotIn;
};

using ado::sqlite::DeclaredParameter;

struct Tree {
    std::vector<Expr> exprs;
    std::vector<ExprId> children;
    std::vector<Select> selects;
    std::vector<Source> sources;
    Statement statement;
    std::vector<DeclaredParameter> parameters;

    const Expr& At(ExprId id) const { return exprs[id]; }
    Expr& At(ExprId id) { return exprs[id]; }
    ExprId Child(const Expr& e, uint32_t i) const { return children[e.first + i]; }
};

}  // namespace ado::sqlite::detail
