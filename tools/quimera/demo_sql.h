// The SQL text piece of the demo: Access statements and their SQL Server form.
#pragma once

#include <ostream>

namespace tool {

void MostrarConversion(std::ostream& salida);

}  // namespace tool
