// Prints a recordset as an aligned text table.
#pragma once

#include <ostream>

#include "ado/Recordset.h"

namespace tool {

// Prints every row from the current position to the end, at most maxRows of them (-1: all),
// and how many were left out; returns the number of rows.
int PrintTable(ado::Recordset& rs, std::ostream& out, int maxRows = -1);

}  // namespace tool
