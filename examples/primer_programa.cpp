// The README's first program: a database made once, a customer added on every run, and the
// customers whose name starts with B. Run it as often as you like.
#include <ado/ado.h>

#include <filesystem>
#include <iostream>

int main() {
    const std::string cadena = "Provider=Microsoft.Jet.OLEDB.4.0;Data Source=tienda.db;"
                               "Jet OLEDB:Database Password=secreto";
    // A database is one file; CreateDatabase makes one (a connection never does).
    const bool nueva = !std::filesystem::exists("tienda.db");
    if (nueva) ado::CreateDatabase(cadena);
    auto cn = ado::Connection::Create();
    cn->CursorLocation(ado::adUseClient);
    cn->Open(cadena);
    if (nueva) cn->Execute("CREATE TABLE Clientes (Id COUNTER PRIMARY KEY, Nombre TEXT(50), Alta DATETIME)");
    cn->Execute("INSERT INTO Clientes (Nombre, Alta) VALUES ('Begoña', #3/15/2024#)");

    auto rs = ado::Recordset::Create();
    rs->Open("SELECT * FROM Clientes WHERE Nombre LIKE 'B*'", cn, ado::adOpenStatic);
    for (; !rs->adoEOF(); rs->MoveNext())
        std::cout << rs->Fields()["Id"].Value().As<int>() << ": " << rs->Fields()["Nombre"].Value().As<std::string>()
                  << " desde " << rs->Fields()["Alta"].Value().ToString() << '\n';
}
