// quimera compactar FILE [DEST] [--password P]: a compacted copy of an embedded database, in
// the file's own place or as DEST, with the same password; the sizes before and after.
#include <CLI/CLI.hpp>

#include <filesystem>
#include <iostream>

#include "ado/ado.h"
#include "commands.h"
#include "idioma.h"
#include "password_option.h"
#include "progress.h"

namespace tool {

CLI::App* AddCompactCommand(CLI::App& app, CompactOptions& o) {
    auto* cmd = app.add_subcommand("compactar", T("Compacta una base de datos incrustada, en su sitio o en otro archivo"));
    cmd->add_option("FILE", o.file, T("Archivo de base de datos"))->required();
    cmd->add_option("DEST", o.destination, T("Archivo compactado, que no debe existir (por omisión, el mismo FILE)"));
    AddPasswordOptions(*cmd, o.password, T("Contraseña de la base de datos, que la copia conserva"));
    return cmd;
}

int RunCompact(const CompactOptions& o) {
    const std::string destination = o.destination.empty() ? o.file : o.destination;
    std::error_code ec;
    const auto before = std::filesystem::file_size(o.file, ec);
    {
        Progress progress(F("Compactando {0}", o.file));
        ado::CompactDatabase(EmbeddedConnectionString(o.file, o.password),
                             EmbeddedConnectionString(destination, o.password));
    }
    const auto after = std::filesystem::file_size(destination);
    std::cout << (destination == o.file ? F("Compactada {0}: {1} -> {2} bytes", o.file, before, after)
                                        : F("Compactada {0} en {1}: {2} -> {3} bytes", o.file, destination, before, after))
              << '\n';
    return 0;
}

}  // namespace tool
