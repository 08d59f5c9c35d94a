// quimera importar DB FILE [--tabla T] [--password P]: a recordset file sent to a database.
// Without --tabla the file's pending changes go to the tables its fields come from, as one
// batch; with --tabla its rows are added to T, which is made from the file's fields first when
// the database has no such table.
#include <CLI/CLI.hpp>

#include <iostream>

#include "ado/ado.h"
#include "commands.h"
#include "idioma.h"
#include "password_option.h"
#include "progress.h"
#include "table_create.h"

namespace tool {

namespace {

// Every row the file shows, added to the table in one batch; the count.
int32_t AddRows(const ado::ConnectionPtr& cn, const std::string& table, ado::Recordset& file) {
    auto target = ado::Recordset::Create();
    target->Open("SELECT * FROM [" + table + "]", cn, ado::adOpenStatic, ado::adLockBatchOptimistic, ado::adCmdText);
    ado::Fields& from = file.Fields();
    int32_t rows = 0;
    for (file.MoveFirst(); !file.adoEOF(); file.MoveNext(), ++rows) {
        target->AddNew();
        for (int32_t i = 0; i < from.Count(); ++i)
            if (from[i].Type() != ado::adChapter && target->Fields().IndexOf(from[i].Name()) >= 0)
                target->Fields()[from[i].Name()].Value(from[i].Value());
        target->Update();
    }
    target->UpdateBatch();
    return rows;
}

}  // namespace

CLI::App* AddImportCommand(CLI::App& app, ImportOptions& o) {
    auto* cmd = app.add_subcommand("importar", T("Envía a una base de datos un archivo de conjunto de registros: sus "
                                               "cambios pendientes, o sus filas a una tabla"));
    cmd->add_option(T("BD"), o.database, T("Archivo de base de datos"))->required();
    cmd->add_option(T("ARCHIVO"), o.file, T("Archivo guardado con Recordset.Save (XML o ADTG)"))->required();
    cmd->add_option("--tabla", o.table, T("Tabla que recibe las filas (se crea si no existe)"));
    AddPasswordOptions(*cmd, o.password, T("Contraseña de la base de datos"));
    return cmd;
}

int RunImport(const ImportOptions& o) {
    Progress progress(F("Importando {0}", o.file));
    auto cn = ado::Connection::Create();
    cn->CursorLocation(ado::adUseClient);
    cn->Open(EmbeddedConnectionString(o.database, o.password));
    auto rs = ado::Recordset::Create();
    rs->Open(o.file, nullptr);
    if (o.table.empty()) {
        rs->Filter(ado::Variant(int32_t{ado::adFilterPendingRecords}));
        const int32_t pending = rs->RecordCount();
        rs->Filter(ado::Variant(int32_t{ado::adFilterNone}));
        rs->ActiveConnection(cn);
        rs->UpdateBatch();
        progress.Done();
        std::cout << (pending == 1 ? F("1 cambio pendiente enviado a {0}", o.database)
                                   : F("{0} cambios pendientes enviados a {1}", pending, o.database))
                  << '\n';
        return 0;
    }
    const bool created = !TableExists(cn, o.table);
    if (created) CreateTable(cn, o.table, rs->Fields());
    const int32_t rows = AddRows(cn, o.table, *rs);
    progress.Done();
    std::cout << (rows == 1 ? F("1 registro añadido a {0}", o.table) : F("{0} registros añadidos a {1}", rows, o.table))
              << (created ? T(" (tabla creada)") : "") << '\n';
    return 0;
}

}  // namespace tool
