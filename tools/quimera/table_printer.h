// Prints a recordset as an aligned text table.
#pragma once

#include <ostream>

#include "ado/Recordset.h"

namespace tool {

// Prints every row from the current position to the end; returns the number of rows.
int PrintTable(ado::Recordset& rs, std::ostream& out, int maxRows = -1);

}  // namespace tool
