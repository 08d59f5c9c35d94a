// Tables of an embedded database made for rows that come from elsewhere (a recordset file,
// another database's query).
#pragma once

#include <string>

#include "ado/ado.h"

namespace tool {

// Whether the database has a table (or query) of that name.
bool TableExists(const ado::ConnectionPtr& cn, const std::string& table);

// CREATE TABLE with a column per field (chapters aside) and the fields marked as key.
void CreateTable(const ado::ConnectionPtr& cn, const std::string& table, ado::Fields& fields);

}  // namespace tool
