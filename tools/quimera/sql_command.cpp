// quimera sql FILE "STATEMENT" [--password P]
#include <filesystem>
#include <iostream>

#include "ado/ado.h"
#include "commands.h"
#include "table_printer.h"

namespace tool {

std::string EmbeddedConnectionString(const std::string& file, const std::string& password) {
    std::string cs = "Provider=Microsoft.Jet.OLEDB.4.0;Data Source=\"" + file + "\";";
    if (!password.empty()) cs += "Jet OLEDB:Database Password=\"" + password + "\";";
    return cs;
}

int RunSql(const SqlOptions& o) {
    const std::string cs = EmbeddedConnectionString(o.file, o.password);
    if (!std::filesystem::exists(o.file)) {
        ado::CreateDatabase(cs);
        std::cerr << "quimera: se creó la base de datos " << o.file
                  << (o.password.empty() ? "" : " (protegida con contraseña)") << '\n';
    }
    auto cn = ado::Connection::Create();
    cn->CursorLocation(ado::adUseClient);
    cn->Open(cs);
    int32_t affected = 0;
    auto rs = cn->Execute(o.statement, &affected);
    if (rs->State() == ado::adStateOpen)
        PrintTable(*rs, std::cout);
    else
        std::cout << affected << (affected == 1 ? " registro afectado\n" : " registros afectados\n");
    return 0;
}

}  // namespace tool
