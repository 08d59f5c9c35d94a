// The edit cycle of clsAccesoDatos with its events: a record edited and saved, a new one
// added, and a save that the program's own rule vetoes from AntesActualizar (the library
// then shows its notice in the message dialog).
#include <stdlib.h>

#include <filesystem>
#include <iostream>

#include "ado/ado.h"
#include "quimera/quimera.h"

namespace {

class Oyente : public quimera::clsAccesoDatosEventos {
public:
    void DespuesEditar(ado::RecordsetPtr& rs) override {
        std::cout << "DespuesEditar: " << rs->Fields()["Nombre"].Value().As<std::string>() << '\n';
    }
    // The program's rule: no customer without a name.
    void AntesActualizar(ado::RecordsetPtr& rs, bool& cancelar, ado::EditModeEnum modo) override {
        cancelar = rs->Fields()["Nombre"].Value().As<std::string>().empty();
        std::cout << "AntesActualizar (" << (modo == ado::adEditAdd ? "alta" : "cambio") << ")"
                  << (cancelar ? ": vetada, falta el nombre" : "") << '\n';
    }
    void DespuesActualizar(ado::RecordsetPtr& rs, ado::EditModeEnum) override {
        std::cout << "DespuesActualizar: " << rs->Fields()["Id"].Value().As<int>() << " "
                  << rs->Fields()["Nombre"].Value().As<std::string>() << '\n';
    }
};

}  // namespace

int main() {
    std::string plantilla = (std::filesystem::temp_directory_path() / "quimera-edicion-XXXXXX").string();
    const std::filesystem::path carpeta = ::mkdtemp(plantilla.data());
    const std::string archivo = (carpeta / "clientes.db").string();
    // AbrirBaseDatos opens Access databases with the library's fixed password.
    ado::CreateDatabase("Provider=Microsoft.Jet.OLEDB.4.0;Data Source=" + archivo +
                        ";Jet OLEDB:Database Password=" + quimera::ClaveBaseDatos);

    quimera::clsAccesoDatos datos;
    Oyente oyente;
    datos.ConectarEventos(oyente);
    datos.InicializarPropiedades(carpeta.string(), quimera::dnAccess);
    ado::ConnectionPtr cn = datos.AbrirBaseDatos(archivo);
    cn->Execute("CREATE TABLE Clientes (Id COUNTER PRIMARY KEY, Nombre TEXT(50))");
    cn->Execute("INSERT INTO Clientes (Nombre) VALUES ('Begoña')");

    ado::CommandPtr orden;
    ado::RecordsetPtr rs = datos.CrearCursorKeyset("SELECT * FROM Clientes", cn, orden, ado::adLockOptimistic);
    // Each member returns false after showing its message (or reporting to the error manager).
    if (datos.Editar(rs)) {
        rs->Fields()["Nombre"].Value("Begoña Ruiz");
        datos.Actualizar(rs);
    }
    if (datos.Agregar(rs)) {
        rs->Fields()["Nombre"].Value("Íñigo");
        datos.Actualizar(rs);
    }
    if (datos.Agregar(rs)) {
        rs->Fields()["Nombre"].Value("");
        if (!datos.Actualizar(rs)) datos.CancelarActualizacion(rs);
    }
    std::cout << "Clientes en el archivo: " << cn->Execute("SELECT COUNT(*) FROM Clientes")->Fields()[0].Value().As<int>()
              << '\n';
    datos.CerrarConexion(cn);
}
