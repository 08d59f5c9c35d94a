// A batch with a conflict: changes kept in the recordset, another user changing one of the
// same rows meanwhile, UpdateBatch writing the others and marking the conflicting row.
#include <ado/ado.h>

#include <filesystem>
#include <iostream>

int main() {
    const std::string archivo = (std::filesystem::temp_directory_path() / "lote.db").string();
    std::filesystem::remove(archivo);
    const std::string cadena = "Provider=Microsoft.Jet.OLEDB.4.0;Data Source=" + archivo;
    ado::CreateDatabase(cadena);
    auto cn = ado::Connection::Create();
    cn->CursorLocation(ado::adUseClient);
    cn->Open(cadena);
    cn->Execute("CREATE TABLE Stock (Id LONG PRIMARY KEY, Cantidad LONG)");
    for (int id = 1; id <= 3; ++id) cn->Execute("INSERT INTO Stock VALUES (" + std::to_string(id) + ", 10)");

    // Every row changed in memory: nothing reaches the file yet.
    auto rs = ado::Recordset::Create();
    rs->Open("SELECT * FROM Stock ORDER BY Id", cn, ado::adOpenStatic, ado::adLockBatchOptimistic);
    for (; !rs->adoEOF(); rs->MoveNext()) {
        rs->Fields()["Cantidad"].Value(rs->Fields()["Cantidad"].Value().As<int>() - 1);
        rs->Update();
    }

    // Another user changes row 2 in the meantime.
    auto otro = ado::Connection::Create();
    otro->Open(cadena);
    otro->Execute("UPDATE Stock SET Cantidad = 0 WHERE Id = 2");

    try {
        rs->UpdateBatch();
    } catch (const ado::Error& e) {
        std::cout << "UpdateBatch: error " << e.Number() << ": " << e.Description() << '\n';
    }
    rs->Filter(ado::Variant(int32_t{ado::adFilterConflictingRecords}));
    for (; !rs->adoEOF(); rs->MoveNext())
        std::cout << "En conflicto: fila " << rs->Fields()["Id"].Value().As<int>() << '\n';
    rs->CancelBatch();  // the conflicting change is given up; the others were written

    for (auto fila = cn->Execute("SELECT * FROM Stock ORDER BY Id"); !fila->adoEOF(); fila->MoveNext())
        std::cout << "Fila " << fila->Fields()[0].Value().As<int>() << ": " << fila->Fields()[1].Value().As<int>()
                  << '\n';
}
