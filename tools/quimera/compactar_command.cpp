// quimera compactar FILE [DEST] [--password P]: a compacted copy of an embedded database, in
// the file's own place or as DEST, with the same password; the sizes before and after.
#include <CLI/CLI.hpp>

#include <filesystem>
#include <iostream>

#include "ado/ado.h"
#include "commands.h"

namespace tool {

CLI::App* AddCompactCommand(CLI::App& app, CompactOptions& o) {
    auto* cmd = app.add_subcommand("compactar", "Compacta una base de datos incrustada, en su sitio o en otro archivo");
    cmd->add_option("FILE", o.file, "Archivo de base de datos")->required();
    cmd->add_option("DEST", o.destination, "Archivo compactado, que no debe existir (por omisión, el mismo FILE)");
    cmd->add_option("--password", o.password, "Contraseña de la base de datos, que la copia conserva");
    return cmd;
}

int RunCompact(const CompactOptions& o) {
    const std::string destination = o.destination.empty() ? o.file : o.destination;
    std::error_code ec;
    const auto before = std::filesystem::file_size(o.file, ec);
    ado::CompactDatabase(EmbeddedConnectionString(o.file, o.password),
                         EmbeddedConnectionString(destination, o.password));
    std::cout << "Compactada " << o.file << (destination == o.file ? "" : " en " + destination) << ": " << before
              << " -> " << std::filesystem::file_size(destination) << " bytes\n";
    return 0;
}

}  // namespace tool
