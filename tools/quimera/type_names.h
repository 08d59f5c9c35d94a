// ADO data types as the tool names them, and the Access SQL type that holds each.
#pragma once

#include <string>

#include "ado/Field.h"

namespace tool {

// "Integer", "VarWChar", ... (the DataTypeEnum name without "ad").
std::string TypeName(ado::DataTypeEnum type);

// The column type a CREATE TABLE gives a field of this kind: "LONG", "TEXT(20)", "MEMO", ...
std::string AccessType(const ado::Field& field);

}  // namespace tool
