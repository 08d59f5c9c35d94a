// quimera migrar FILE [--password P]: converts a database of an earlier format (an earlier
// version of the library, or another program's file) to the format this version reads.
#include <CLI/CLI.hpp>

#include <iostream>

#include "ado/ado.h"
#include "commands.h"

namespace tool {

CLI::App* AddUpgradeCommand(CLI::App& app, UpgradeOptions& o) {
    auto* cmd = app.add_subcommand("migrar", "Convierte una base de datos de un formato anterior al formato actual");
    cmd->add_option("FILE", o.file, "Archivo de base de datos")->required();
    cmd->add_option("--password", o.password, "Contraseña de la base de datos");
    return cmd;
}

int RunUpgrade(const UpgradeOptions& o) {
    const ado::UpgradeReport r = ado::UpgradeDatabase(EmbeddedConnectionString(o.file, o.password));
    if (r.alreadyCurrent) {
        std::cout << o.file << " ya está en el formato actual.\n";
        return 0;
    }
    std::cout << "Convertido " << o.file << ": " << r.tables << (r.tables == 1 ? " tabla, " : " tablas, ") << r.rows
              << (r.rows == 1 ? " fila.\n" : " filas.\n");
    return 0;
}

}  // namespace tool
