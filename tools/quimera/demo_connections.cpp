// Connections shown by the demo.
#include "demo_connections.h"

#include <string>

#include "ado/ado.h"
#include "quimera/quimera.h"

namespace tool {

namespace {

int32_t Contar(const ado::ConnectionPtr& cn) {
    return cn->Execute("SELECT COUNT(*) FROM Albaranes")->Fields()[0].Value().ToInt32();
}

}  // namespace

void MostrarCompactacion(const std::filesystem::path& carpeta, std::ostream& out) {
    const std::filesystem::path archivo = carpeta / "albaranes.mdb";
    std::filesystem::remove(archivo);
    ado::CreateDatabase("Provider=Microsoft.Jet.OLEDB.4.0;Data Source=" + archivo.string() +
                        ";Jet OLEDB:Database Password=" + quimera::ClaveBaseDatos);

    quimera::clsAccesoDatos acceso;
    acceso.InicializarPropiedades(carpeta.string());
    ado::ConnectionPtr cn = acceso.AbrirBaseDatos(archivo.string());
    if (!cn) return;  // the failure was shown and reported
    out << "AbrirBaseDatos: proveedor " << cn->Provider() << ", contraseña fija de la biblioteca, "
        << (acceso.ConexionEstaAbierta(cn) ? "abierta" : "cerrada") << '\n';

    cn->Execute("CREATE TABLE Albaranes (IdAlbaran INTEGER PRIMARY KEY, Detalle TEXT)");
    const std::string detalle(2000, '-');
    cn->BeginTrans();
    for (int i = 1; i <= 500; ++i)
        cn->Execute("INSERT INTO Albaranes VALUES (" + std::to_string(i) + ", 'Albarán " + detalle + "')");
    cn->CommitTrans();
    cn->Execute("DELETE FROM Albaranes WHERE IdAlbaran > 50");
    acceso.CerrarConexion(cn);
    const auto antes = std::filesystem::file_size(archivo);
    out << "500 albaranes guardados y 450 borrados: el archivo ocupa " << antes << " bytes\n";

    const bool compactada = acceso.CompactarBaseDatos(archivo.string());
    cn = acceso.AbrirBaseDatos(archivo.string());
    out << "CompactarBaseDatos " << (compactada ? "en su sitio" : "falló") << ": "
        << std::filesystem::file_size(archivo) << " bytes, " << (cn ? Contar(cn) : 0) << " albaranes\n";
}

}  // namespace tool
