// Declared column types of the embedded engine (Access type names) to ADO data types.
// SINGLE and FLOAT4 are single precision; REAL is the Access synonym of SINGLE only in the
// dialect's own DDL, which writes it to the schema as SINGLE: a REAL column of another
// program's file is a double, as the engine stores it.
#pragma once

#include <cstdint>
#include <string_view>

#include "ado/Enums.h"

namespace ado::sqlite {

struct MappedType {
    DataTypeEnum type;
    int32_t definedSize;
    uint8_t precision;
    uint8_t scale;
    bool autoIncrement;
};

// The ADO shape of a declared type such as "TEXT(50)", "COUNTER", "DECIMAL(10,2)".
// An empty or unknown declaration gives adVariant (the caller decides from the values).
MappedType MapDeclaredType(std::string_view declared);

// Whether values of the type are fixed-length (adFldFixed) or long (adFldLong).
bool IsFixedLength(DataTypeEnum type);
bool IsLong(DataTypeEnum type);

}  // namespace ado::sqlite
