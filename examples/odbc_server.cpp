// A database server through ODBC: the library prepares the connection for an ODBC source,
// the client opens it with its own connection string and works as with any other engine.
//
//   example_odbc_server "Driver={PostgreSQL Unicode};Server=127.0.0.1;Port=5432;Database=db;Uid=me;Pwd=;"
#include <iostream>

#include <ado/ado.h>
#include <quimera/quimera.h>

int main(int argc, char** argv) {
    if (argc < 2) {
        std::cerr << "uso: " << argv[0] << " \"cadena de conexión ODBC\"\n";
        return 2;
    }
    quimera::clsAccesoDatos datos;
    datos.InicializarPropiedades("", quimera::dnODBC);
    ado::ConnectionPtr cn = datos.AbrirBaseDatos("", "", "", ado::adModeReadWrite, ado::adUseClient, quimera::dnODBC);
    try {
        cn->Open(argv[1]);
        auto rs = ado::Recordset::Create();
        rs->Open("SELECT current_database() AS base, version() AS version", cn, ado::adOpenStatic);
        std::cout << rs->Fields()["base"].Value().ToString() << ": " << rs->Fields()["version"].Value().ToString()
                  << '\n';
    } catch (const ado::Error& e) {
        std::cerr << "error " << e.Number() << ": " << e.Description() << '\n';
        return 1;
    }
    datos.CerrarConexion(cn);
}
