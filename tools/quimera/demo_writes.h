// The write path shown by the demo: an edit, a conflict between two connections, a batch.
#pragma once

#include <ostream>
#include <string>

namespace tool {

// Works on the demo database file (see demo_database.h).
void MostrarEscritura(const std::string& file, std::ostream& out);

}  // namespace tool
