// quimera clave FILE (--nueva P | --quitar) [--password P]: sets, changes or removes the
// password of an embedded database, which is opened exclusively meanwhile.
#include <CLI/CLI.hpp>

#include <iostream>

#include "ado/ado.h"
#include "commands.h"

namespace tool {

CLI::App* AddKeyCommand(CLI::App& app, KeyOptions& o) {
    auto* cmd = app.add_subcommand("clave", "Pone, cambia o quita la contraseña de una base de datos incrustada");
    cmd->add_option("FILE", o.file, "Archivo de base de datos")->required();
    cmd->add_option("--password", o.password, "Contraseña actual (ninguna por omisión)");
    auto* change = cmd->add_option_group("cambio", "Una de las dos");
    change->add_option("--nueva", o.newPassword, "Contraseña nueva");
    change->add_flag("--quitar", o.remove, "Quita la contraseña");
    change->require_option(1);
    return cmd;
}

int RunKey(const KeyOptions& o) {
    auto cn = ado::Connection::Create();
    cn->Mode(ado::adModeShareExclusive);
    cn->Open(EmbeddedConnectionString(o.file, o.password));
    // Writing either password property re-encrypts the file (or decrypts it, when empty).
    if (o.remove)
        cn->Properties().Item("Jet OLEDB:New Database Password").Value(ado::Variant(""));
    else
        cn->Properties().Item("Jet OLEDB:Database Password").Value(ado::Variant(o.newPassword));
    cn->Close();
    std::cout << (o.remove || o.newPassword.empty() ? "Quitada la contraseña de " : "Cambiada la contraseña de ")
              << o.file << '\n';
    return 0;
}

}  // namespace tool
