// Types every expression of a statement as Access types it: names are resolved against the
// FROM sources of their SELECT and the ones around it (the schema gives the tables'
// columns), operators and functions follow Access's rules, a parameter takes the type of
// what it meets. The writer reads these types to hand each value over in the form its
// context needs (Currency scaled, dates as serials, texts collated).
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "ado/providers/sqlite/dialect/schema_source.h"
#include "ado/providers/sqlite/dialect/syntax_tree.h"
#include "ado/providers/sqlite/dialect/value_types.h"

namespace ado::sqlite::detail {

struct ExprTyping {
    ValueType type;                     // the value's type (adVariant: unknown)
    DataTypeEnum compare = adVariant;   // comparisons, IN, BETWEEN, CASE: what both sides are compared as
    bool column = false;                // a plain column reference: it carries its column's collation
    SelectId scope = kNone;             // a column: the SELECT whose FROM holds it
    int relation = -1;                  // and which of that SELECT's relations
    ExprId aliasOf = kNone;             // a name that stands for an earlier item of its select list
};

struct OutputColumn {
    std::string name;
    ValueType type;
    bool column = false;   // a plain column of a table
    bool unknown = false;  // stands for an expansion of unknown width (t.* of an unknown table)
};

// A FROM source of a SELECT as names reach it: a table, a stored query or a derived table.
struct Relation {
    std::string name;         // the alias, or the table's name
    std::string table;        // the table or stored query it reads ("" for a derived table)
    std::vector<OutputColumn> columns;
    bool known = true;        // its columns are known
    bool baseTable = false;   // a table of the file's own, whose rows have an identity (rowid)
};

struct Typing {
    std::vector<ExprTyping> exprs;                 // by ExprId
    std::vector<std::vector<OutputColumn>> outputs;  // by SelectId
    std::vector<std::vector<Relation>> relations;    // by SelectId: its FROM sources, in order
    std::vector<ValueType> targets;    // INSERT: each value's column; UPDATE: each assignment's
    std::vector<ValueType> definitions;  // CREATE TABLE / ALTER TABLE ADD: each column's type
    std::vector<std::string> itemNames;  // by ExprId of a select item: the name its result column takes
    // By SelectId: some result column took its table's name before its own (two of one
    // name); its stars are then written out column by column, each under its name.
    std::vector<uint8_t> namesQualified;
    // ALTER TABLE but ADD COLUMN: the table as the file keeps it (none without a database),
    // the other tables with a relationship to it, and those whose relationship is to its key.
    std::optional<StoredTable> stored;
    std::vector<std::string> referrers, keyReferrers;
};

Typing TypeStatement(const Tree& tree, SchemaSource& schema);

}  // namespace ado::sqlite::detail
