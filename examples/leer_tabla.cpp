// Reads any table of an embedded database and prints it: every field by name, walked with
// range-for, and typed reads with As<T>().
//
//   example_leer_tabla FILE TABLE [PASSWORD]
#include <ado/ado.h>

#include <iostream>
#include <optional>

int main(int argc, char** argv) {
    if (argc < 3) {
        std::cerr << "uso: example_leer_tabla ARCHIVO TABLA [CONTRASEÑA]\n";
        return 2;
    }
    std::string cadena = std::string("Provider=Microsoft.Jet.OLEDB.4.0;Data Source=") + argv[1] + ";";
    if (argc > 3) cadena += std::string("Jet OLEDB:Database Password=") + argv[3] + ";";
    try {
        auto cn = ado::Connection::Create();
        cn->Open(cadena);
        auto rs = ado::Recordset::Create();
        rs->Open(std::string("SELECT * FROM [") + argv[2] + "]", cn, ado::adOpenForwardOnly, ado::adLockReadOnly);
        for (; !rs->adoEOF(); rs->MoveNext()) {
            for (ado::Field& campo : rs->Fields()) {
                // Null reads as an empty optional; anything else converts as CStr does.
                const std::optional<std::string> valor = campo.Value().As<std::optional<std::string>>();
                std::cout << campo.Name() << " = " << valor.value_or("(Null)") << "  ";
            }
            std::cout << '\n';
        }
    } catch (const ado::Error& e) {
        // what() carries the description, the engine's codes and the failing statement.
        std::cerr << "error " << e.Number() << ": " << e.what() << '\n';
        return 1;
    }
    return 0;
}
