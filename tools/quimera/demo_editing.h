// The edit cycle shown by the demo: a customer edited and saved with its events, a vetoed
// edit, a conflict between two users, two users of one file (a record held in a pessimistic
// edit while the other user saves another record of the table and is refused on the held
// one), a confirmed and a refused deletion, and a stored query with parameters run the
// Access way and the text way.
#pragma once

#include <filesystem>
#include <ostream>

namespace tool {

// Works on a sample database it creates in carpeta; the dialogs are answered by script and
// written to out with everything else.
void MostrarEdicion(const std::filesystem::path& carpeta, std::ostream& out);

}  // namespace tool
