// New invoice numbers three ways with clsDatosAvanzado: the highest number plus one, a
// dispenser record, and the shared table Contadores; a ValidarContador handler sees (and may
// change) each new number before it is used. Also a lookup and a total by criterion.
//
//   example_counters [FOLDER]
#include <ado/ado.h>
#include <quimera/quimera.h>

#include <filesystem>
#include <iostream>

namespace {

// Prints every new number offered; a handler may also change numContadorNuevo.
struct Vigilante : quimera::clsDatosAvanzadoEventos {
    void ValidarContador(int32_t numContadorAnterior, int32_t& numContadorNuevo) override {
        std::cout << "  ValidarContador: " << numContadorAnterior << " -> " << numContadorNuevo << '\n';
    }
};

}  // namespace

int main(int argc, char** argv) {
    const std::filesystem::path carpeta = argc > 1 ? argv[1] : std::filesystem::temp_directory_path();
    const std::string archivo = (carpeta / "contadores_ejemplo.db").string();
    std::filesystem::remove(archivo);
    const std::string cadena = "Provider=Microsoft.Jet.OLEDB.4.0;Data Source=" + archivo + ";";
    try {
        ado::CreateDatabase(cadena);
        auto cn = ado::Connection::Create();
        cn->CursorLocation(ado::adUseClient);
        cn->Open(cadena);
        for (const char* sql : {"CREATE TABLE Facturas (Numero LONG PRIMARY KEY, Cliente TEXT(30), Importe CURRENCY)",
                                "CREATE TABLE Series (Serie TEXT(1) PRIMARY KEY, Ultimo LONG)",
                                "CREATE TABLE Contadores (numIdContador LONG PRIMARY KEY, strCampo TEXT(50), "
                                "numContador LONG)",
                                "INSERT INTO Facturas VALUES (1, 'Begoña', 120.5)",
                                "INSERT INTO Facturas VALUES (2, 'Íñigo', 80)", "INSERT INTO Series VALUES ('A', 100)"})
            cn->Execute(sql);

        quimera::clsDatosAvanzado datos;
        datos.InicializarPropiedades(carpeta.string());
        Vigilante vigilante;
        datos.ConectarEventos(vigilante);

        // Criteria are whole conditions written by the program, never text a user typed.
        std::cout << "Cliente de la factura 2: " << datos.ObtenerDato("Facturas", "Cliente", cn, "Numero = 2").ToString()
                  << '\n';
        std::cout << "Total facturado: " << datos.ObtenerTotal("Facturas", "Importe", cn).ToString() << '\n';

        // Each returns 0 when it could not give a number (another user held the record, say).
        std::cout << "ObtenerContador:\n";
        const int32_t mayor = datos.ObtenerContador("Facturas", "Numero", cn);
        std::cout << "  nueva factura " << mayor << '\n';
        std::cout << "ObtenerContadorDispensador (serie A):\n";
        const int32_t serie = datos.ObtenerContadorDispensador("Series", "Ultimo", cn, "Serie = 'A'");
        std::cout << "  nueva factura " << serie << '\n';
        std::cout << "ObtenerContadorExterno (la primera vez crea su registro en Contadores):\n";
        for (int i = 0; i < 2; ++i) {
            const int32_t externo = datos.ObtenerContadorExterno("Facturas", "Numero", cn);
            std::cout << "  nueva factura " << externo << '\n';
        }
        datos.DesconectarEventos(vigilante);
    } catch (const ado::Error& e) {
        std::cerr << "error " << e.Number() << ": " << e.what() << '\n';
        return 1;
    }
    return 0;
}
