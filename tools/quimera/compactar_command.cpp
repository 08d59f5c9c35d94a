// quimera compactar FILE [DEST] [--password P]: a compacted copy of an embedded database, in
// the file's own place or as DEST, under the file's own key (plain stays plain); the sizes
// before and after.
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
    cmd->add_option(T("ARCHIVO"), o.file, T("Archivo de base de datos"))->required();
    cmd->add_option(T("DESTINO"), o.destination,
                    T("Archivo compactado, que no debe existir (por omisión, el mismo ARCHIVO)"));
    AddPasswordOptions(*cmd, o.password, T("Contraseña de la base de datos, que la copia conserva"));
    return cmd;
}

namespace {

// The password the file is encrypted with: the one given, or none for a plain file (which
// opens whatever password is given).
std::string KeyOfFile(const std::string& file, const std::string& password) {
    auto cn = ado::Connection::Create();
    cn->Mode(ado::adModeRead);
    cn->Open(EmbeddedConnectionString(file, password));
    return cn->Properties().Item("Jet OLEDB:Database Password").Value().ToString();
}

}  // namespace

int RunCompact(const CompactOptions& o) {
    const std::string destination = o.destination.empty() ? o.file : o.destination;
    std::error_code ec;
    const auto before = std::filesystem::file_size(o.file, ec);
    {
        // The copy keeps the file's own key: a plain file stays plain (quimera clave changes keys).
        const std::string key = KeyOfFile(o.file, o.password);
        Progress progress(F("Compactando {0}", o.file));
        ado::CompactDatabase(EmbeddedConnectionString(o.file, key), EmbeddedConnectionString(destination, key));
    }
    const auto after = std::filesystem::file_size(destination);
    std::cout << (destination == o.file ? F("Compactada {0}: {1} -> {2} bytes", o.file, before, after)
                                        : F("Compactada {0} en {1}: {2} -> {3} bytes", o.file, destination, before, after))
              << '\n';
    return 0;
}

}  // namespace tool
