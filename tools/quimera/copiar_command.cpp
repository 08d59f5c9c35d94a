// quimera copiar ORIGEN DESTINO [--tabla T] [--sql "..."] [--password P]: the rows of table T
// (or of a query) of an embedded database added to table T of another embedded database, or
// of the database an ODBC connection string names, through the library; all of them or none
// (one transaction of the destination). A missing table is made in an embedded destination.
// A progress line on a terminal (rows done of the total, rate); a summary at the end.
#include <CLI/CLI.hpp>

#include <algorithm>
#include <chrono>
#include <vector>
#include <iostream>

#include "ado/ado.h"
#include "commands.h"
#include "idioma.h"
#include "password_option.h"
#include "progress.h"
#include "quimera/quimera.h"
#include "table_create.h"

namespace tool {

CLI::App* AddCopyCommand(CLI::App& app, CopyOptions& o) {
    auto* cmd = app.add_subcommand("copiar", T("Copia las filas de una tabla o de una consulta a una tabla de otra "
                                             "base de datos"));
    cmd->add_option(T("ORIGEN"), o.source, T("Archivo de base de datos de origen"))->required();
    cmd->add_option(T("DESTINO"), o.destination,
                    T("Archivo de base de datos de destino, o cadena de conexión ODBC (con '=')"))
        ->required();
    cmd->add_option("--tabla", o.table, T("Tabla que se copia y que recibe las filas"))->required();
    cmd->add_option("--sql", o.statement, T("Consulta de Access cuyas filas se copian (por omisión, toda la tabla)"));
    AddPasswordOptions(*cmd, o.password, T("Contraseña de la base de datos de origen"));
    return cmd;
}

namespace {

bool IsConnectionString(const std::string& destination) { return destination.find('=') != std::string::npos; }

// Copies the source's rows to the destination cursor one by one through the library, counting them.
int64_t CopyRows(quimera::clsAccesoDatos& acceso, ado::RecordsetPtr& source, ado::RecordsetPtr& target,
                 Progress& progress) {
    ado::Fields& from = source->Fields();
    std::vector<ado::Field*> to;
    for (ado::Field& f : from) to.push_back(&target->Fields()[f.Name()]);
    int64_t rows = 0;
    for (; !source->adoEOF(); source->MoveNext()) {
        if (!acceso.Agregar(target)) throw ado::Error(ado::err::Fail, T("no se pudo añadir una fila al destino"));
        for (int32_t i = 0; i < from.Count(); ++i) to[static_cast<size_t>(i)]->Value(from[i].Value());
        if (!acceso.Actualizar(target, true))
            throw ado::Error(ado::err::Fail, F("no se pudo guardar la fila {0} en el destino", rows + 1));
        progress.Count(++rows);
    }
    return rows;
}

}  // namespace

int RunCopy(const CopyOptions& o) {
    const auto start = std::chrono::steady_clock::now();
    quimera::clsDatosAvanzado datos;
    quimera::clsAccesoDatos acceso;
    auto source = ado::Connection::Create();
    source->CursorLocation(ado::adUseClient);
    source->Mode(ado::adModeRead);
    source->Open(EmbeddedConnectionString(o.source, o.password));
    auto target = ado::Connection::Create();
    target->CursorLocation(ado::adUseClient);
    target->Open(IsConnectionString(o.destination) ? o.destination : EmbeddedConnectionString(o.destination, ""));

    const std::string query = o.statement.empty() ? "SELECT * FROM [" + o.table + "]" : o.statement;
    Progress progress(F("Copiando {0}", o.table));
    progress.Total(o.statement.empty() ? datos.ObtenerNumeroRegistros("[" + o.table + "]", "*", source)
                                       : datos.ObtenerNumeroRegistros("(" + o.statement + ") AS q", "*", source));
    ado::CommandPtr sourceCommand, targetCommand;
    ado::RecordsetPtr rows = acceso.CrearCursorEstatico(query, source, sourceCommand);
    if (!rows) throw ado::Error(ado::err::Fail, F("no se pudo leer el origen: {0}", query));
    const bool created = !IsConnectionString(o.destination) && !TableExists(target, o.table);
    if (created) CreateTable(target, o.table, rows->Fields());

    // All or nothing: the rows go in one transaction of the destination.
    target->BeginTrans();
    const std::string empty = IsConnectionString(o.destination) ? "SELECT * FROM " + o.table + " WHERE 1=0"
                                                                : "SELECT * FROM [" + o.table + "] WHERE 1=0";
    ado::RecordsetPtr destination = acceso.CrearCursorKeyset(empty, target, targetCommand, ado::adLockOptimistic);
    if (!destination) {
        target->RollbackTrans();
        throw ado::Error(ado::err::Fail, F("no se pudo abrir la tabla {0} del destino", o.table));
    }
    int64_t copied = 0;
    try {
        copied = CopyRows(acceso, rows, destination, progress);
    } catch (...) {
        target->RollbackTrans();
        throw;
    }
    target->CommitTrans();
    progress.Done();
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    std::cout << F("{0} filas copiadas a {1} en {2:.1f} s ({3} filas/s)", copied, o.table, seconds,
                   static_cast<int64_t>(static_cast<double>(copied) / std::max(seconds, 1e-6)))
              << (created ? T(" (tabla creada)") : "") << '\n';
    return 0;
}

}  // namespace tool
