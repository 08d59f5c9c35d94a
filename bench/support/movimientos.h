// The benchmarks' million-row table: Movimientos (Id, Cuenta, Importe, Unidades, Fecha, Nota),
// six columns of the common kinds, a quarter of the notes Null. Made once in the scratch
// folder and kept for later runs.
#pragma once

#include <filesystem>
#include <string>

#include <sqlcipher/sqlite3.h>

#include "ado/ado.h"
#include "support/raw_table.h"
#include "support/scratch.h"

namespace benchsupport {

inline constexpr int kMovimientos = 1'000'000;
inline constexpr const char* kMovimientosQuery = "SELECT Id, Cuenta, Importe, Unidades, Fecha, Nota FROM Movimientos";

inline const std::string& MovimientosFile() {
    static const std::string file = [] {
        const std::string f = ScratchFile("brezal-bench-read-1m-v2.db").string();
        if (std::filesystem::exists(f)) return f;
        MakeRawTable(f,
                     "CREATE TABLE Movimientos (Id INTEGER PRIMARY KEY, Cuenta TEXT(40), Importe DOUBLE, "
                     "Unidades LONG, Fecha DATETIME, Nota TEXT(80))",
                     "INSERT INTO Movimientos VALUES (?1, ?2, ?3, ?4, ?5, ?6)", kMovimientos, [](sqlite3_stmt* st, int i) {
                         const std::string cuenta = "Cuenta " + std::to_string(i % 5000);
                         sqlite3_bind_int(st, 1, i);
                         sqlite3_bind_text(st, 2, cuenta.c_str(), -1, SQLITE_TRANSIENT);
                         sqlite3_bind_double(st, 3, i * 1.25);
                         sqlite3_bind_int(st, 4, i % 97);
                         sqlite3_bind_double(st, 5, ado::MakeDate(2024, 10 + i % 3, 10 + i % 10, 10, 20, 30).serial);
                         if (i % 4) sqlite3_bind_text(st, 6, "pagado con tarjeta", -1, SQLITE_STATIC);
                         else sqlite3_bind_null(st, 6);
                     });
        return f;
    }();
    return file;
}

// A client cursor over every row of the table.
inline ado::RecordsetPtr OpenMovimientos(const ado::ConnectionPtr& cn) {
    auto rs = ado::Recordset::Create();
    rs->Open(kMovimientosQuery, cn, ado::adOpenStatic, ado::adLockReadOnly, ado::adCmdText);
    return rs;
}

inline ado::ConnectionPtr ConnectMovimientos() {
    auto cn = ado::Connection::Create();
    cn->CursorLocation(ado::adUseClient);
    cn->Open("Provider=Microsoft.Jet.OLEDB.4.0;Data Source=" + MovimientosFile());
    return cn;
}

}  // namespace benchsupport
