// quimera clave FILE (--nueva P | --quitar) [--password P]: sets, changes or removes the
// password of an embedded database, which is opened exclusively meanwhile.
#include <CLI/CLI.hpp>

#include <iostream>

#include "ado/ado.h"
#include "commands.h"
#include "idioma.h"
#include "password_option.h"

namespace tool {

CLI::App* AddKeyCommand(CLI::App& app, KeyOptions& o) {
    auto* cmd = app.add_subcommand("clave", T("Pone, cambia o quita la contraseña de una base de datos incrustada"));
    cmd->add_option(T("ARCHIVO"), o.file, T("Archivo de base de datos"))->required();
    AddPasswordOptions(*cmd, o.password, T("Contraseña actual (ninguna por omisión)"));
    auto* change = cmd->add_option_group("cambio", T("Una de las dos"));
    change->add_option("--nueva", o.newPassword, T("Contraseña nueva"));
    change->add_flag("--quitar", o.remove, T("Quita la contraseña"));
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
    std::cout << (o.remove || o.newPassword.empty() ? F("Quitada la contraseña de {0}", o.file)
                                                    : F("Cambiada la contraseña de {0}", o.file))
              << '\n';
    return 0;
}

}  // namespace tool
