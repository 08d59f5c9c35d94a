// quimera sql FILE "STATEMENTS" [--password P]: each statement of the text in turn, its
// result shown; the first failure stops the script and says which statement failed, and where.
#include <filesystem>
#include <iostream>

#include "ado/ConnectionStringValue.h"
#include "ado/ado.h"
#include "commands.h"
#include "table_printer.h"

namespace tool {

std::string EmbeddedConnectionString(const std::string& file, const std::string& password) {
    std::string cs = "Provider=Microsoft.Jet.OLEDB.4.0;Data Source=" + ado::ConnectionStringValue(file) + ";";
    if (!password.empty()) cs += "Jet OLEDB:Database Password=" + ado::ConnectionStringValue(password) + ";";
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
    const std::vector<ado::ScriptStatement> script = ado::SplitScript(o.statement);
    for (size_t i = 0; i < script.size(); ++i) {
        const ado::ScriptStatement& s = script[i];
        int32_t affected = 0;
        ado::RecordsetPtr rs;
        try {
            rs = cn->Execute(s.text, &affected);
        } catch (const ado::Error& e) {
            std::cerr << "error " << e.Number() << " en la instrucción " << i + 1 << " (línea " << s.line
                      << ", columna " << s.column << "): " << e.Description() << '\n';
            return 1;
        }
        if (script.size() > 1) std::cout << (i ? "\n" : "") << "-- " << s.text << '\n';
        if (rs->State() == ado::adStateOpen)
            PrintTable(*rs, std::cout);
        else
            std::cout << affected << (affected == 1 ? " registro afectado\n" : " registros afectados\n");
    }
    return 0;
}

}  // namespace tool
