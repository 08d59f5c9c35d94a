// A recordset's rows as CSV (RFC 4180, a header row of field names) or as a JSON array of
// objects: numbers with '.', dates as "yyyy-mm-ddThh:mm:ss", binaries as hexadecimal, Null as
// an empty CSV field or JSON null.
#pragma once

#include <ostream>

#include "ado/Recordset.h"

namespace tool {

void WriteCsv(ado::Recordset& rs, std::ostream& out);
void WriteJson(ado::Recordset& rs, std::ostream& out);

}  // namespace tool
