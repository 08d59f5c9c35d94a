// The library frame shown by the demo.
#include "demo_frame.h"

#include <fstream>
#include <iostream>

#include "ado/ado.h"
#include "quimera/quimera.h"

namespace tool {

namespace {

class OyenteRuta : public quimera::clsTransaccionesEventos {
public:
    void CambiaRutaHost(const std::string& strRutaAntigua, std::string& strRutaNueva) override {
        std::cout << "Evento CambiaRutaHost: '" << strRutaAntigua << "' -> '" << strRutaNueva << "'\n";
    }
};

}  // namespace

void MostrarMarco(const std::filesystem::path& carpeta) {
    const std::string cadena = "Provider=Microsoft.Jet.OLEDB.4.0;Data Source=" + (carpeta / "marco.db").string();
    std::filesystem::remove(carpeta / "marco.db");
    std::filesystem::remove(carpeta / "centinela.log");
    ado::CreateDatabase(cadena);
    ado::ConnectionPtr cn = ado::Connection::Create();
    cn->Open(cadena);

    quimera::clsTransacciones transacciones;
    OyenteRuta oyente;
    transacciones.ConectarEventos(oyente);
    transacciones.InicializarPropiedades(carpeta.string());
    transacciones.RutaHost(carpeta.string());
    transacciones.IniciarTransaccion(cn);
    std::cout << transacciones.Nombre() << ": Cuenta = " << transacciones.Cuenta() << " tras IniciarTransaccion\n";
    transacciones.ValidarTransaccion(cn);
    std::cout << "ValidarTransaccion sin transacción abierta devuelve " << std::boolalpha
              << transacciones.ValidarTransaccion(cn) << "; el gestor de errores lo anotó:\n"
              << std::ifstream(carpeta / "centinela.log").rdbuf();
}

}  // namespace tool
