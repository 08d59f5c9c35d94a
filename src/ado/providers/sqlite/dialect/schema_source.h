// What the translator asks of the database: the columns of a table or stored query, with
// their types. The session answers from the file's schema; without one every name is of
// unknown type and values are taken as the engine holds them.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "ado/providers/sqlite/dialect/value_types.h"

namespace ado::sqlite::detail {

struct SchemaColumn {
    std::string name;
    ValueType type;
};

// A table or stored query of the database.
// A unique index: the table it keys and its columns, in order.
struct UniqueIndex {
    std::string table;
    std::vector<std::string> columns;
};

// An index of a stored table: its engine text (empty for one the engine makes for a key
// or UNIQUE) and its columns.
struct StoredIndex {
    std::string name;
    std::string sql;
    std::vector<std::string> columns;
};

// A table as the file keeps it, for a change that makes it again.
struct StoredTable {
    std::string name;                     // as the file spells it
    std::string sql;                      // its CREATE TABLE, as stored
    std::vector<std::string> columns;     // in order
    std::vector<std::string> declaredTypes;  // each column's, as declared
    std::vector<std::string> keyColumns;  // its primary key's, in key order
    std::vector<StoredIndex> indexes;
    std::vector<std::string> triggers;    // their CREATE TRIGGER texts
    bool rowid = true;
    bool refersToItself = false;          // a relationship of its own rows to its own rows
};

struct TableShape {
    std::vector<SchemaColumn> columns;
    bool view = false;  // a view or stored query: its rows have no identity of their own
    bool rowid = true;  // its rows have a rowid (not a view, not a WITHOUT ROWID table)
};

class SchemaSource {
public:
    virtual ~SchemaSource() = default;
    // `table` in `database` ("" for the file's own; an attached alias) or in the database
    // file `externalFile` (t IN 'file'), its columns in order; nullptr when there is no
    // table or stored query of that name. The pointer stays valid during the translation.
    virtual const TableShape* Table(std::string_view database, std::string_view externalFile,
                                    std::string_view table) = 0;
    // False when the source knows no database at all (a translation on its own): then a
    // table it does not have may still exist.
    virtual bool Known() const { return true; }
    // The other tables with a relationship to `table` of `database`: any relationship when
    // `keyColumns` is empty, else one to exactly those columns (in any order). None unless
    // the source reads relationships.
    virtual std::vector<std::string> Referrers(std::string_view /*database*/, std::string_view /*table*/,
                                               const std::vector<std::string>& /*keyColumns*/) {
        return {};
    }
    // The unique index `name` of `database`; nullopt when there is none of that name.
    virtual std::optional<UniqueIndex> FindUniqueIndex(std::string_view /*database*/, std::string_view /*name*/) {
        return std::nullopt;
    }
    // The table `table` of `database` as stored; nullopt when there is none (or the source
    // does not read definitions).
    virtual std::optional<StoredTable> Stored(std::string_view /*database*/, std::string_view /*table*/) {
        return std::nullopt;
    }
};

// Knows no table: every column is of unknown type.
class NoSchema final : public SchemaSource {
public:
    const TableShape* Table(std::string_view, std::string_view, std::string_view) override { return nullptr; }
    bool Known() const override { return false; }
};

}  // namespace ado::sqlite::detail
