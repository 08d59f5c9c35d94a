// A hierarchical recordset (a SHAPE command's) as indented text: each level's field names
// once above its rows, values separated by " | ", and under each row the rows of its
// chapters, indented two spaces further and headed by the chapter's name.
#pragma once

#include <ostream>
#include <string_view>

#include "ado/Recordset.h"

namespace tool {

// Whether the statement is a SHAPE command (its first word).
bool IsShapeStatement(std::string_view statement);

// Writes every row of every level; returns the number of top-level rows.
int64_t WriteHierarchy(ado::Recordset& rs, std::ostream& out);

}  // namespace tool
