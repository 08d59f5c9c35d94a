// quimera sql FILE "STATEMENTS" [--crear] [--formato F] [--limite N] [--password ...]
//                [--buscar CRITERIO] [--filtro CRITERIO] [--orden ORDEN]: each statement of the
// text in turn, its rows streamed in the format asked for; the first failure stops the script
// and says which statement failed, and where. With --buscar, --filtro or --orden each result
// is read into a client cursor first: Filter and Sort apply to it, and --buscar shows the rows
// Find reaches one after another (an action statement then runs without its count).
#include <CLI/CLI.hpp>
#include <unistd.h>

#include <filesystem>
#include <iostream>
#include <optional>

#include "ado/ConnectionStringValue.h"
#include "ado/ado.h"
#include "cli_idioma.h"
#include "commands.h"
#include "error_report.h"
#include "hierarchy_output.h"
#include "idioma.h"
#include "password_option.h"
#include "progress.h"
#include "row_output.h"

namespace tool {

std::string EmbeddedConnectionString(const std::string& file, const std::string& password) {
    std::string cs = "Provider=Microsoft.Jet.OLEDB.4.0;Data Source=" + ado::ConnectionStringValue(file) + ";";
    if (!password.empty()) cs += "Jet OLEDB:Database Password=" + ado::ConnectionStringValue(password) + ";";
    return cs;
}

CLI::App* AddSqlCommand(CLI::App& app, SqlOptions& o) {
    auto* cmd = app.add_subcommand("sql", T("Ejecuta instrucciones SQL de Access sobre una base de datos incrustada"));
    cmd->add_option(T("ARCHIVO"), o.file, T("Archivo de base de datos"))->required();
    cmd->add_option(T("INSTRUCCIONES"), o.statement, T("Instrucciones SQL de Access, separadas por ';'"))->required();
    cmd->add_flag("--crear", o.create, T("Crea la base de datos si el archivo no existe"));
    cmd->add_option("--formato", o.format, T("tabla, csv o json (por omisión, tabla)"))
        ->check(OneOf({"tabla", "csv", "json"}));
    cmd->add_option("--limite", o.limit, T("Muestra como mucho N filas de cada resultado"))
        ->check(Count());
    cmd->add_option("--buscar", o.search, T("Muestra solo las filas que alcanza Find con el criterio CRITERIO"));
    cmd->add_option("--filtro", o.filter, T("Filtra cada resultado con el criterio CRITERIO (Filter de ADO)"));
    cmd->add_option("--orden", o.sort, T("Ordena cada resultado por ORDEN (Sort de ADO: \"Campo DESC, Otro\")"));
    AddPasswordOptions(*cmd, o.password, T("Contraseña de la base de datos"));
    return cmd;
}

namespace {

// Runs one statement, streaming its rows; gives the records affected or -1 for rows.
int64_t RunStatement(ado::Connection& cn, const std::string& text, const SqlOptions& o, Format format) {
    const auto output = MakeRowOutput(format, std::cout);
    // Rows going to a terminal show themselves; going elsewhere, a progress line shows them.
    std::optional<Progress> progress;
    if (!isatty(STDOUT_FILENO)) progress.emplace(T("Leyendo filas"));
    int64_t shown = 0;
    bool more = false;
    const int64_t affected = cn.ExecuteEach(
        text,
        [&](ado::Fields& fields) {
            if (o.limit >= 0 && shown >= o.limit) {
                more = true;
                return false;
            }
            output->Row(fields);
            ++shown;
            if (progress) progress->Count(shown);
            return true;
        },
        [&](ado::Fields& fields) { output->Begin(fields); });
    if (affected < 0) output->End(more ? -1 : 0);
    return affected;
}

// Runs one statement into a client cursor, filtered and sorted, and shows its rows (or the
// rows Find reaches). The statement is first run forward-only up to its first row: an action
// statement runs there once and gives its count; a row-returning one is then read whole.
int64_t RunThroughCursor(ado::Connection& cn, const std::string& text, const SqlOptions& o, Format format) {
    const int64_t affected = cn.ExecuteEach(text, [](ado::Fields&) { return false; });
    if (affected >= 0) return affected;
    auto rs = ado::Recordset::Create();
    rs->CursorLocation(ado::adUseClient);
    rs->Open(text, cn.shared_from_this(), ado::adOpenStatic, ado::adLockReadOnly, ado::adCmdText);
    if (!o.filter.empty()) rs->Filter(ado::Variant(o.filter));
    if (!o.sort.empty()) rs->Sort(o.sort);
    // Sort keeps the current row where it went: the rows are shown from the first.
    if (!(rs->BOF() && rs->adoEOF())) rs->MoveFirst();
    if (!o.search.empty() && !rs->adoEOF()) rs->Find(o.search);  // a criterion refused shows no rows
    const auto output = MakeRowOutput(format, std::cout);
    output->Begin(rs->Fields());
    int64_t shown = 0;
    bool more = false;
    auto next = [&] {
        if (o.search.empty()) return rs->MoveNext();
        rs->Find(o.search, 1);
    };
    for (; !rs->adoEOF(); next()) {
        if (o.limit >= 0 && shown >= o.limit) {
            more = true;
            break;
        }
        output->Row(rs->Fields());
        ++shown;
    }
    output->End(more ? -1 : 0);
    return -1;
}

// Runs a SHAPE command through the shape provider over the same file and shows the
// hierarchy: each parent row with its children indented under it.
int64_t RunShape(const SqlOptions& o, const std::string& text) {
    auto cn = ado::Connection::Create();
    cn->CommandTimeout(0);
    // The embedded connection string begins "Provider=...": after "Data " it names the data provider.
    cn->Open("Provider=MSDataShape;Data " + EmbeddedConnectionString(o.file, o.password));
    auto rs = ado::Recordset::Create();
    rs->CursorLocation(ado::adUseClient);
    rs->Open(text, cn, ado::adOpenStatic, ado::adLockReadOnly, ado::adCmdText);
    const int64_t rows = WriteHierarchy(*rs, std::cout);
    std::cout << (rows == 1 ? T("(1 fila)") : F("({0} filas)", rows)) << '\n';
    return -1;
}

}  // namespace

int RunSql(const SqlOptions& o) {
    const std::string& password = o.password;
    const std::string cs = EmbeddedConnectionString(o.file, password);
    if (!std::filesystem::exists(o.file)) {
        if (!o.create) {
            std::cerr << "quimera: " << F("no existe la base de datos {0} (con --crear se crea)", o.file) << '\n';
            return 1;
        }
        ado::CreateDatabase(cs);
        std::cerr << "quimera: "
                  << (password.empty() ? F("se creó la base de datos {0}", o.file)
                                       : F("se creó la base de datos {0} (protegida con contraseña)", o.file))
                  << '\n';
    }
    const Format format = ParseFormat(o.format).value_or(Format::Table);
    auto cn = ado::Connection::Create();
    cn->CommandTimeout(0);  // the time goes into writing rows out, too
    cn->Open(cs);
    const std::vector<ado::ScriptStatement> script = ado::SplitScript(o.statement);
    for (size_t i = 0; i < script.size(); ++i) {
        const ado::ScriptStatement& s = script[i];
        if (script.size() > 1 && format == Format::Table) std::cout << (i ? "\n" : "") << "-- " << s.text << '\n';
        int64_t affected = 0;
        try {
            const bool cursor = !o.search.empty() || !o.filter.empty() || !o.sort.empty();
            if (IsShapeStatement(s.text))
                affected = RunShape(o, s.text);
            else
                affected = cursor ? RunThroughCursor(*cn, s.text, o, format) : RunStatement(*cn, s.text, o, format);
        } catch (const ado::Error& e) {
            std::cout.flush();
            PrintError(std::cerr, e,
                       F("error {0} en la instrucción {1} (línea {2}, columna {3})", e.Number(), i + 1, s.line,
                         s.column));
            return 1;
        }
        if (affected < 0) continue;
        // Machine formats keep standard output for data.
        (format == Format::Table ? std::cout : std::cerr)
            << (affected == 1 ? T("1 registro afectado") : F("{0} registros afectados", affected)) << '\n';
    }
    return 0;
}

}  // namespace tool
