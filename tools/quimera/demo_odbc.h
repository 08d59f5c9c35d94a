// A database server reached through ODBC, shown by the demo when one is given.
#pragma once

#include <ostream>
#include <string>

namespace tool {

// Opens the server with the client's own ODBC connection string on the connection that
// AbrirBaseDatos prepares for dnODBC, then writes and reads a small table there.
void MostrarServidor(const std::string& odbcConnectionString, std::ostream& out);

}  // namespace tool
