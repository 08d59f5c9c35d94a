// quimera exportar DB "SQL" FILE [--formato xml|adtg|csv|json] [--password P]: the rows of an
// Access statement saved as a recordset file (ADO's XML or ADTG, which `ver` and `importar`
// read back, pending changes and all) or as CSV or JSON. An existing FILE is left alone.
#include <CLI/CLI.hpp>

#include <filesystem>
#include <fstream>
#include <iostream>

#include "ado/ado.h"
#include "cli_idioma.h"
#include "commands.h"
#include "idioma.h"
#include "password_option.h"
#include "progress.h"
#include "row_output.h"

namespace tool {

namespace {

// The format asked for, else the one the file's extension names; ADTG otherwise.
std::string FormatOf(const ExportOptions& o) {
    if (!o.format.empty()) return o.format;
    std::string ext = std::filesystem::path(o.file).extension().string();
    for (char& c : ext) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    if (ext == ".xml" || ext == ".csv" || ext == ".json") return ext.substr(1);
    return "adtg";
}

}  // namespace

CLI::App* AddExportCommand(CLI::App& app, ExportOptions& o) {
    auto* cmd = app.add_subcommand("exportar", T("Guarda en un archivo las filas de una instrucción SQL de Access"));
    cmd->add_option(T("BD"), o.database, T("Archivo de base de datos"))->required();
    cmd->add_option("SQL", o.statement, T("Instrucción SQL de Access que devuelve filas"))->required();
    cmd->add_option(T("ARCHIVO"), o.file, T("Archivo que se crea (no debe existir)"))->required();
    cmd->add_option("--formato", o.format, T("xml, adtg, csv o json (por omisión, el de la extensión; si no, adtg)"))
        ->check(OneOf({"xml", "adtg", "csv", "json"}));
    AddPasswordOptions(*cmd, o.password, T("Contraseña de la base de datos"));
    return cmd;
}

int RunExport(const ExportOptions& o) {
    Progress progress(F("Exportando a {0}", o.file));
    auto cn = ado::Connection::Create();
    cn->CursorLocation(ado::adUseClient);
    cn->Open(EmbeddedConnectionString(o.database, o.password));
    auto rs = ado::Recordset::Create();
    rs->Open(o.statement, cn, ado::adOpenStatic, ado::adLockBatchOptimistic, ado::adCmdText);
    const std::string format = FormatOf(o);
    if (format == "xml" || format == "adtg") {
        rs->Save(o.file, format == "xml" ? ado::adPersistXML : ado::adPersistADTG);
    } else {
        if (std::filesystem::exists(o.file)) throw ado::Error(58, "El archivo ya existe. ('" + o.file + "')");
        std::ofstream out(o.file, std::ios::binary);
        rs->MoveFirst();
        WriteRows(*rs, *MakeRowOutput(format == "csv" ? Format::Csv : Format::Json, out));
        out.close();
        if (!out) throw ado::Error(ado::err::Fail, "No se pudo escribir el archivo '" + o.file + "'");
    }
    progress.Done();
    std::cout << (rs->RecordCount() == 1 ? F("1 registro guardado en {0} ({1})", o.file, format)
                                         : F("{0} registros guardados en {1} ({2})", rs->RecordCount(), o.file, format))
              << '\n';
    return 0;
}

}  // namespace tool
