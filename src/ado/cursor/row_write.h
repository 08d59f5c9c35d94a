// One row written back to its base table, as the cursor engine asks a provider to do it,
// and the parameterised SQL every provider builds from it.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "ado/Enums.h"
#include "ado/Variant.h"

namespace ado::cursor {

struct RowWrite {
    enum class Kind { Insert, Update, Delete };
    Kind kind = Kind::Update;
    std::string table;
    std::vector<std::string> setColumns;   // Insert and Update
    std::vector<Variant> setValues;
    std::vector<std::string> whereColumns; // Update and Delete: the row as it was read
    std::vector<Variant> whereValues;      // Null compares with IS NULL
    std::vector<std::string> readBack;     // Insert: columns to read back (autonumber, defaults)
    std::vector<DataTypeEnum> readBackTypes;  // their ADO types
};

struct WriteSql {
    std::string text;
    std::vector<Variant> parameters;
};

// "INSERT INTO t (a, b) VALUES (?, ?)", "UPDATE t SET a = ? WHERE k = ? AND c IS NULL", ...
// `quote` writes an identifier in the engine's quoting.
WriteSql BuildWriteSql(const RowWrite& w, std::string (*quote)(std::string_view));

// A key that tells writes of the same statement shape apart (kind, table, columns and
// which criteria are Null), written into `key` without allocating once it has grown.
void WriteShapeKey(const RowWrite& w, std::string& key);

}  // namespace ado::cursor
