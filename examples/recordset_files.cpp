// Recordset files: rows taken away from the database, changed without a connection, kept in
// a file (XML here; ADTG is the compact one), and sent back as one batch later.
#include <ado/ado.h>

#include <filesystem>
#include <iostream>

int main() {
    const std::string db = (std::filesystem::temp_directory_path() / "ejemplo_archivos.db").string();
    const std::string file = (std::filesystem::temp_directory_path() / "clientes.xml").string();
    std::filesystem::remove(db);
    std::filesystem::remove(file);
    const std::string cs = "Provider=Microsoft.Jet.OLEDB.4.0;Data Source=" + db;
    ado::CreateDatabase(cs);
    auto cn = ado::Connection::Create();
    cn->CursorLocation(ado::adUseClient);
    cn->Open(cs);
    cn->Execute("CREATE TABLE Clientes (Id LONG PRIMARY KEY, Nombre TEXT(30), Ciudad TEXT(20))");
    cn->Execute("INSERT INTO Clientes VALUES (1, 'Ana', 'León')");
    cn->Execute("INSERT INTO Clientes VALUES (2, 'Luis', 'Ávila')");

    // Read, disconnected, changed and saved: the change waits in the file with its original.
    auto rs = ado::Recordset::Create();
    rs->Open("SELECT * FROM Clientes", cn, ado::adOpenStatic, ado::adLockBatchOptimistic);
    rs->ActiveConnection(nullptr);
    rs->Fields()["Ciudad"].Value("Lugo");
    rs->Update();
    rs->Save(file, ado::adPersistXML);

    // Later, perhaps in another program: open the file, look at the change, send it.
    auto again = ado::Recordset::Create();
    again->Open(file, nullptr);
    again->Filter(ado::Variant(int32_t{ado::adFilterPendingRecords}));
    std::cout << again->Fields()["Nombre"].Value().ToString() << ": "
              << again->Fields()["Ciudad"].OriginalValue().ToString() << " -> "
              << again->Fields()["Ciudad"].Value().ToString() << '\n';
    again->ActiveConnection(cn);
    again->UpdateBatch();
    std::cout << "En la base de datos: "
              << cn->Execute("SELECT Ciudad FROM Clientes WHERE Id = 1")->Fields()[0].Value().ToString() << '\n';
}
