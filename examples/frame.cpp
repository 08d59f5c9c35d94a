// The library frame in one program: a library object initialised with a folder, an event
// received, a transaction on an embedded database, and a failure that the library does not
// throw at its caller but reports to the error manager, whose log is printed at the end.
//
//   example_frame [FOLDER]      (a new temporary folder when none is given)
#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <iostream>

#include "ado/ado.h"
#include "quimera/quimera.h"

namespace {

// The events of clsAccesoDatos this program wants to hear; the others do nothing.
class Oyente : public quimera::clsAccesoDatosEventos {
public:
    void CambiaRutaHost(const std::string& strRutaAntigua, std::string& strRutaNueva) override {
        std::cout << "CambiaRutaHost: '" << strRutaAntigua << "' -> '" << strRutaNueva << "'\n";
    }
};

std::filesystem::path CarpetaDeTrabajo(int argc, char** argv) {
    if (argc > 1) return std::filesystem::path(argv[1]);
    std::string plantilla = (std::filesystem::temp_directory_path() / "quimera-ejemplo-XXXXXX").string();
    return ::mkdtemp(plantilla.data());
}

}  // namespace

int main(int argc, char** argv) {
    const std::filesystem::path carpeta = CarpetaDeTrabajo(argc, argv);
    std::filesystem::create_directories(carpeta);

    // A library object: its error manager will write its log into the folder.
    quimera::clsAccesoDatos acceso;
    Oyente oyente;
    acceso.ConectarEventos(oyente);
    acceso.InicializarPropiedades(carpeta.string(), quimera::dnAccess);  // no event here
    acceso.RutaHost(carpeta.string());                                    // raises CambiaRutaHost
    std::cout << acceso.Nombre() << " trabaja en " << acceso.RutaHost() << '\n';

    // An embedded database, and a transaction around an insert.
    const std::string cadena = "Provider=Microsoft.Jet.OLEDB.4.0;Data Source=" + (carpeta / "ejemplo.db").string();
    std::filesystem::remove(carpeta / "ejemplo.db");
    ado::CreateDatabase(cadena);
    ado::ConnectionPtr cn = ado::Connection::Create();
    cn->Open(cadena);
    cn->Execute("CREATE TABLE Notas (Texto TEXT(50))");

    quimera::clsTransacciones transacciones;
    transacciones.InicializarPropiedades(carpeta.string());
    transacciones.IniciarTransaccion(cn);
    cn->Execute("INSERT INTO Notas VALUES ('dentro de la transacción')");
    std::cout << "Transacciones abiertas: " << transacciones.Cuenta() << '\n';
    transacciones.ValidarTransaccion(cn);
    std::cout << "Tras validar: " << transacciones.Cuenta() << '\n';

    // A failure: there is no transaction left to commit. The method does not throw; the
    // error manager gets the report and answers, and the method returns false.
    const bool validada = transacciones.ValidarTransaccion(cn);
    std::cout << "Validar sin transacción devuelve " << std::boolalpha << validada << '\n';

    std::cout << "\nRegistro de errores (" << (carpeta / "centinela.log").string() << "):\n"
              << std::ifstream(carpeta / "centinela.log").rdbuf();
    return 0;
}
