// A hierarchy: customers and their orders in one recordset, through the shape provider. The
// chapter field "Pedidos" gives each customer's orders; a new order added to the chapter takes
// its customer's key by itself.
#include <ado/ado.h>

#include <filesystem>
#include <iostream>

int main() {
    const std::string db = (std::filesystem::temp_directory_path() / "ejemplo_jerarquia.db").string();
    std::filesystem::remove(db);
    ado::CreateDatabase("Provider=Microsoft.Jet.OLEDB.4.0;Data Source=" + db);

    // The shape provider wraps the embedded engine, named as its data provider.
    auto cn = ado::Connection::Create();
    cn->Provider("MSDataShape");
    cn->Properties().Item("Data Provider").Value(ado::Variant("Microsoft.Jet.OLEDB.4.0"));
    cn->CursorLocation(ado::adUseClient);
    cn->Open("Data Source=" + db);
    for (const char* sql : {"CREATE TABLE Clientes (IdCliente LONG PRIMARY KEY, Nombre TEXT(30))",
                            "CREATE TABLE Pedidos (IdPedido LONG PRIMARY KEY, IdCliente LONG, Importe CURRENCY)",
                            "INSERT INTO Clientes VALUES (1, 'Ana')", "INSERT INTO Clientes VALUES (2, 'Luis')",
                            "INSERT INTO Pedidos VALUES (10, 1, 12.5)", "INSERT INTO Pedidos VALUES (11, 1, 7)",
                            "INSERT INTO Pedidos VALUES (12, 2, 30)"})
        cn->Execute(sql);

    auto clientes = ado::Recordset::Create();
    clientes->Open("SHAPE {SELECT * FROM Clientes ORDER BY IdCliente} "
                   "APPEND ({SELECT * FROM Pedidos ORDER BY IdPedido} RELATE IdCliente TO IdCliente) AS Pedidos",
                   cn, ado::adOpenStatic, ado::adLockOptimistic, ado::adCmdText);

    // Luis gets a new order through his chapter: its IdCliente comes from him.
    clientes->Find("Nombre = 'Luis'");
    ado::RecordsetPtr suyos = clientes->Fields()["Pedidos"].Value().AsObject();
    suyos->AddNew();
    suyos->Fields()["IdPedido"].Value(13);
    suyos->Fields()["Importe"].Value(4.25);
    suyos->Update();

    // Each customer with the orders of its chapter.
    for (clientes->MoveFirst(); !clientes->adoEOF(); clientes->MoveNext()) {
        std::cout << clientes->Fields()["Nombre"].Value().ToString() << ":";
        ado::RecordsetPtr pedidos = clientes->Fields()["Pedidos"].Value().AsObject();
        for (; !pedidos->adoEOF(); pedidos->MoveNext())
            std::cout << ' ' << pedidos->Fields()["IdPedido"].Value().ToString() << " ("
                      << pedidos->Fields()["Importe"].Value().ToString() << ')';
        std::cout << '\n';
    }
    std::cout << "En la tabla: "
              << cn->Execute("SELECT IdCliente FROM Pedidos WHERE IdPedido = 13")->Fields()[0].Value().ToString()
              << '\n';
}
