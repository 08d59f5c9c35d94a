// What the cursor engine knows of one column: its ADO shape and where it comes from.
#pragma once

#include <cstdint>
#include <string>

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
    bool key = false;        // part of the base table's primary key
    bool autoIncrement = false;
};

}  // namespace ado::cursor
