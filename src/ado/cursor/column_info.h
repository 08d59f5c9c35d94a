// What the cursor engine knows of one column: its ADO shape and where it comes from.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "ado/Enums.h"

namespace ado::cursor {

struct ColumnInfo {
    std::string name;
    DataTypeEnum type = adVarWChar;
    int32_t definedSize = 0;
    uint8_t precision = 0;
    uint8_t numericScale = 0;
    int32_t attributes = 0;  // FieldAttributeEnum bits
    std::string baseCatalog;
    std::string baseSchema;
    std::string baseTable;   // empty for computed columns
    std::string baseColumn;
    int16_t baseTableIndex = -1;  // columns of the same base table share it; -1 for none
    bool key = false;        // part of the base table's primary key
    bool autoIncrement = false;
    // A hidden column: the identity (rowid) of the base table's row the result row came from.
    // Identity columns come after every visible column, are never Fields, are not saved and
    // do not outlive the connection the rows were read on.
    bool rowIdentity = false;
    // Kept in the rows but not a Field: a key of a joined table that a recordset file brought
    // (rs:hidden), saved again with the file.
    bool hidden = false;
};

// The base column that names a row identity in a write's criteria.
inline constexpr std::string_view kRowIdentityColumn = "_rowid_";

// How many columns come before the hidden identity columns: the columns the Fields show.
inline size_t VisibleColumnCount(const std::vector<ColumnInfo>& columns) {
    size_t n = columns.size();
    while (n > 0 && columns[n - 1].rowIdentity) --n;
    return n;
}

// Numbers the distinct base tables of the columns (baseTableIndex), so that writes can
// tell a column's table by a number rather than by its name.
void NumberBaseTables(std::vector<ColumnInfo>& columns);

}  // namespace ado::cursor
