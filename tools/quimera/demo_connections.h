// Connections shown by the demo: a database opened through clsAccesoDatos::AbrirBaseDatos
// with the library's fixed password, and a compaction that shrinks the file after deletions.
#pragma once

#include <filesystem>
#include <ostream>

namespace tool {

// Works in carpeta: the database file and the error manager's log go there.
void MostrarCompactacion(const std::filesystem::path& carpeta, std::ostream& out);

}  // namespace tool
