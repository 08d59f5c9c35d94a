// quimera migrar FILE [--password P]: converts a database of an earlier format (an earlier
// version of the library, or another program's file) to the format this version reads.
#include <CLI/CLI.hpp>

#include <iostream>

#include "ado/ado.h"
#include "commands.h"
#include "idioma.h"
#include "password_option.h"

namespace tool {

CLI::App* AddUpgradeCommand(CLI::App& app, UpgradeOptions& o) {
    auto* cmd = app.add_subcommand("migrar", T("Convierte una base de datos de un formato anterior al formato actual"));
    cmd->add_option(T("ARCHIVO"), o.file, T("Archivo de base de datos"))->required();
    AddPasswordOptions(*cmd, o.password, T("Contraseña de la base de datos"));
    return cmd;
}

int RunUpgrade(const UpgradeOptions& o) {
    const ado::UpgradeReport r = ado::UpgradeDatabase(EmbeddedConnectionString(o.file, o.password));
    if (r.alreadyCurrent) {
        std::cout << F("{0} ya está en el formato actual.", o.file) << '\n';
        return 0;
    }
    const std::string tables = r.tables == 1 ? T("1 tabla") : F("{0} tablas", r.tables);
    const std::string rows = r.rows == 1 ? T("1 fila") : F("{0} filas", r.rows);
    std::cout << F("Convertido {0}: {1}, {2}.", o.file, tables, rows) << '\n';
    return 0;
}

}  // namespace tool
