#include "demo_sql.h"

#include "quimera/clsAccesoDatos.h"

namespace tool {

namespace {

// Statements that show the rewrite: concatenation and booleans, a missing date with the
// function nested in it, and a conditional with a date difference inside.
constexpr const char* kEjemplos[] = {
    "SELECT DISTINCTROW Nombre & ' ' & Apellidos FROM Clientes WHERE Activo = TRUE AND Nota <> 'TRUE'",
    "SELECT * FROM Pedidos WHERE ISNULL(TRIM(Referencia)) AND YEAR(Fecha) = 2024",
    "SELECT IIF(DATEDIFF('d', Fecha, NOW()) > 30, 'Atrasado', IIF(Importe > 100, 'Alto', 'Bajo')) FROM Pedidos",
};

}  // namespace

void MostrarConversion(std::ostream& salida) {
    quimera::clsAccesoDatos acceso;
    salida << "De SQL de Access a SQL Server (ConvertirSQL_SQLServer):\n";
    for (const char* ejemplo : kEjemplos)
        salida << "  Access:     " << ejemplo << "\n  SQL Server: " << acceso.ConvertirSQL_SQLServer(ejemplo) << "\n";
}

}  // namespace tool
