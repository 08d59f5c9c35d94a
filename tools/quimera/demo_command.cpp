// quimera demo [FOLDER]: builds the sample database and shows the library at work on it.
#include <CLI/CLI.hpp>

#include <filesystem>
#include <iostream>
#include <stdexcept>

#include <stdlib.h>

#include "ado/ado.h"
#include "commands.h"
#include "demo_connections.h"
#include "demo_database.h"
#include "demo_editing.h"
#include "demo_odbc.h"
#include "demo_sql.h"
#include "demo_frame.h"
#include "demo_writes.h"
#include "idioma.h"
#include "table_printer.h"

namespace tool {

namespace {

void Title(const std::string& text) { std::cout << "\n== " << text << " ==\n"; }

void ShowQuery(ado::Connection& cn, const std::string& sql, int maxRows = 8) {
    std::cout << "\n> " << sql << '\n';
    auto rs = ado::Recordset::Create();
    rs->Open(sql, cn.shared_from_this(), ado::adOpenStatic, ado::adLockReadOnly, ado::adCmdText);
    PrintTable(*rs, std::cout, maxRows);
}

void ShowFailure(const std::string& what, const std::function<void()>& action) {
    try {
        action();
        std::cout << what << ": (sin error)\n";
    } catch (const ado::Error& e) {
        std::cout << what << ":\n  error " << e.Number() << ": " << e.Description() << '\n';
    }
}

std::string WorkFolder(const std::string& requested) {
    if (!requested.empty()) {
        std::error_code error;
        std::filesystem::create_directories(requested, error);
        if (error || !std::filesystem::is_directory(requested))
            throw std::runtime_error(F("no se puede usar ni crear la carpeta de trabajo {0}", requested));
        return requested;
    }
    std::string pattern = (std::filesystem::temp_directory_path() / "quimera-demo-XXXXXX").string();
    return ::mkdtemp(pattern.data());
}

}  // namespace

CLI::App* AddDemoCommand(CLI::App& app, DemoOptions& o) {
    auto* cmd = app.add_subcommand("demo", T("Crea una base de datos de ejemplo y muestra lo que hace la biblioteca"));
    cmd->add_option(T("CARPETA"), o.folder, T("Carpeta de trabajo (por omisión, una temporal)"));
    cmd->add_option("--odbc", o.odbc, T("Cadena ODBC de un servidor que mostrar también"));
    return cmd;
}

int RunDemo(const DemoOptions& options) {
    const std::filesystem::path folder = WorkFolder(options.folder);
    const std::string file = (folder / "comercial.db").string();
    std::filesystem::remove(file);

    Title("Base de datos de ejemplo");
    auto cn = CreateDemoDatabase(file);
    std::cout << "Creada " << file << " (clientes, pedidos, líneas de pedido y contadores)\n";

    Title("SQL de Access sobre el motor incrustado");
    ShowQuery(*cn, "SELECT TOP 5 IdCliente, Nombre, Ciudad, Alta, LimiteCredito FROM Clientes ORDER BY Nombre");
    ShowQuery(*cn, "SELECT Nombre & ' (' & Ciudad & ')' AS Cliente, IIF(ISNULL(Email), 'sin correo', Email) AS Correo "
                   "FROM Clientes WHERE Nombre LIKE 'M*' AND Activo = True");
    ShowQuery(*cn, "SELECT Ciudad, COUNT(*) AS Pedidos, SUM(Precio * Cantidad) AS Importe FROM (Clientes "
                   "INNER JOIN Pedidos ON Clientes.IdCliente = Pedidos.IdCliente) INNER JOIN LineasPedido "
                   "ON Pedidos.IdPedido = LineasPedido.IdPedido WHERE Fecha >= #1/1/2023# GROUP BY Ciudad "
                   "ORDER BY 3 DESC");

    Title("Cursor de cliente: posiciones y marcadores");
    auto rs = ado::Recordset::Create();
    rs->CursorLocation(ado::adUseClient);
    rs->Open("SELECT IdPedido, Fecha, Enviado, Notas FROM Pedidos ORDER BY Fecha", cn, ado::adOpenStatic,
             ado::adLockReadOnly, ado::adCmdText);
    std::cout << "RecordCount = " << rs->RecordCount() << '\n';
    rs->Move(9);
    const ado::Variant mark = rs->Bookmark();
    std::cout << "Registro " << rs->AbsolutePosition() << ": pedido " << rs->Fields()["IdPedido"].Value().ToString()
              << " del " << rs->Fields()["Fecha"].Value().ToString() << '\n';
    rs->MoveLast();
    std::cout << "Último: registro " << rs->AbsolutePosition() << '\n';
    rs->Bookmark(mark);
    std::cout << "Vuelta al marcador: registro " << rs->AbsolutePosition() << ", pedido "
              << rs->Fields()["IdPedido"].Value().ToString() << '\n';

    Title("Propiedades dinámicas de los campos");
    for (auto& f : rs->Fields()) {
        auto& props = f.Properties();
        std::cout << f.Name() << ": tipo " << f.Type() << ", tamaño " << f.DefinedSize()
                  << ", BASETABLENAME = " << props.Item("BASETABLENAME").Value().ToString()
                  << ", KEYCOLUMN = " << props.Item(4).Value().ToString() << '\n';
    }

    Title("Escritura: edición, conflicto entre dos usuarios y lote");
    MostrarEscritura(file, std::cout);

    Title("Los objetos de la biblioteca: eventos, transacciones y el gestor de errores");
    MostrarMarco(folder);

    Title("SQL de Access convertido para SQL Server");
    MostrarConversion(std::cout);

    Title("El ciclo de edición de clsAccesoDatos");
    MostrarEdicion(folder, std::cout);

    Title("Conexiones: AbrirBaseDatos y compactación");
    MostrarCompactacion(folder, std::cout);

    if (!options.odbc.empty()) {
        Title("Un servidor a través de ODBC");
        MostrarServidor(options.odbc, std::cout);
    }

    Title("Errores con su número y su descripción");
    ShowFailure("Tabla que no existe", [&] { cn->Execute("SELECT * FROM Proveedores"); });
    ShowFailure("Más allá del final", [&] {
        rs->MoveLast();
        rs->MoveNext();
        rs->MoveNext();
    });
    ShowFailure("Proveedor desconocido", [&] { ado::Connection::Create()->Open("Provider=Desconocido;Data Source=x"); });
    ShowFailure("Archivo que no existe",
                [&] { ado::Connection::Create()->Open(EmbeddedConnectionString((folder / "no.db").string(), "")); });
    const std::string secret = (folder / "secreta.db").string();
    std::filesystem::remove(secret);
    ado::CreateDatabase(EmbeddedConnectionString(secret, "TERMOS58217"));
    ShowFailure("Contraseña equivocada",
                [&] { ado::Connection::Create()->Open(EmbeddedConnectionString(secret, "otra")); });
    std::cout << "\nListo. Pruebe: quimera sql " << file << " \"SELECT * FROM Contadores\"\n";
    return 0;
}

}  // namespace tool
