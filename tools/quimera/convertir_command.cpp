// quimera convertir "SQL": prints the SQL Server form of a statement in the Access dialect.
#include <CLI/CLI.hpp>

#include <iostream>

#include "commands.h"
#include "idioma.h"
#include "quimera/clsAccesoDatos.h"

namespace tool {

CLI::App* AddConvertCommand(CLI::App& app, ConvertOptions& o) {
    auto* cmd = app.add_subcommand("convertir", T("Muestra la forma SQL Server de una instrucción SQL de Access"));
    cmd->add_option("SQL", o.statement, T("Instrucción SQL de Access"))->required();
    return cmd;
}

int RunConvert(const ConvertOptions& o) {
    quimera::clsAccesoDatos acceso;
    const std::string convertida = acceso.ConvertirSQL_SQLServer(o.statement);
    std::cout << convertida << '\n';
    // An empty result for a statement that was not empty is a failure the error manager saw.
    return convertida.empty() && !o.statement.empty() ? 1 : 0;
}

}  // namespace tool
