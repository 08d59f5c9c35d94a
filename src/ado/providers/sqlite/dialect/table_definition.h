// A table's definition as the engine keeps it (its CREATE TABLE text), taken apart into its
// items, columns and table constraints, each kept as written: a change the engine cannot
// make in place adds, drops or replaces one and writes the definition again.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace ado::sqlite::detail {

struct DefinitionItems {
    std::vector<std::string> items;  // as written, without the commas between them
    std::string options;             // after the closing parenthesis (WITHOUT ROWID)
};

// Fails with err::SyntaxError when the text is no CREATE TABLE with a list of items.
DefinitionItems SplitTableDefinition(std::string_view createTableSql);

// The column an item defines; "" for a table constraint.
std::string ItemColumn(std::string_view item);
// A table constraint's name ("" for a column or a constraint without one) and whether it is
// a primary key.
std::string ItemConstraintName(std::string_view item);
bool IsPrimaryKeyItem(std::string_view item);
// Whether a table constraint names the column.
bool ItemNamesColumn(std::string_view item, std::string_view column);

// Removes the column constraint named `name` (CONSTRAINT name ... up to the next constraint)
// from a column item; false when the item has none of that name. `primaryKey` tells whether
// it was the column's primary key.
bool RemoveColumnConstraint(std::string& item, std::string_view name, bool* primaryKey = nullptr);
// The column's own constraints that belong to the table rather than to its type: its key,
// UNIQUE and relationship, named or not, as written.
std::string KeyConstraintsOf(std::string_view columnItem);

}  // namespace ado::sqlite::detail
