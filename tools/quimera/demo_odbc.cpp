#include "demo_odbc.h"

#include "ado/ado.h"
#include "quimera/clsAccesoDatos.h"
#include "table_printer.h"

namespace tool {

void MostrarServidor(const std::string& odbcConnectionString, std::ostream& out) {
    quimera::clsAccesoDatos datos;
    datos.InicializarPropiedades("", quimera::dnODBC);
    // For ODBC sources the library prepares the connection; the client opens it with its string.
    ado::ConnectionPtr cn = datos.AbrirBaseDatos("", "", "", ado::adModeReadWrite, ado::adUseClient, quimera::dnODBC);
    out << "AbrirBaseDatos(dnODBC): proveedor " << cn->Provider() << ", estado " << cn->State() << '\n';
    cn->Open(odbcConnectionString);
    out << "Abierta con la cadena del cliente: estado " << cn->State() << '\n';
    cn->Execute("DROP TABLE IF EXISTS demo_quimera");
    cn->Execute("CREATE TABLE demo_quimera (id integer PRIMARY KEY, nombre varchar(40), alta timestamp)");
    auto rs = ado::Recordset::Create();
    rs->Open("SELECT * FROM demo_quimera", cn, ado::adOpenStatic, ado::adLockBatchOptimistic, ado::adCmdText);
    const char* names[] = {"Begoña", "Íñigo", "Nuria"};
    for (int i = 0; i < 3; ++i) {
        rs->AddNew();
        rs->Fields()["id"].Value(i + 1);
        rs->Fields()["nombre"].Value(names[i]);
        rs->Fields()["alta"].Value(ado::Variant(ado::MakeDate(2024, 3, 10 + i, 9, 30)));
        rs->Update();
    }
    rs->UpdateBatch();
    auto read = ado::Recordset::Create();
    read->Open("SELECT * FROM demo_quimera ORDER BY id", cn, ado::adOpenStatic, ado::adLockReadOnly, ado::adCmdText);
    PrintTable(*read, out);
    cn->Execute("DROP TABLE demo_quimera");
    datos.CerrarConexion(cn);
}

}  // namespace tool
